#include "settings/ReadWholeFd.h"

#include <cerrno>

#include <unistd.h>

bool ReadWholeFd(int fd, QByteArray& out) {
    out.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        out.append(buf, n);
    }
}

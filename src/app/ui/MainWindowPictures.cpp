#include "app/ui/MainWindowPictures.h"

#include "platform/LogCategories.h"

#include <QPixmap>

#include <system_error>

MainWindowPictures::MainWindowPictures() {
    try {
        pending_ = std::async(std::launch::async, &MainWindowPictures::Draw);
    } catch (const std::system_error& e) {
        // No thread to be had: the window's thread draws them when first asked.
        qCWarning(lcDesktop) << "pictures drawn on the window's thread:" << e.what();
    }
}

MainWindowPictures::~MainWindowPictures() {
    if (pending_.valid())
        pending_.wait();
}

MainWindowPictures::Drawn MainWindowPictures::Draw() {
    Drawn d;
    for (int m = 0; m < kToolMotifCount; ++m)
        d.tools[static_cast<size_t>(m)] = ToolPicture(static_cast<ToolMotif>(m));
    for (size_t r = 0; r < std::size(kRadioMotifs); ++r)
        d.radio[r] = RadioIcons::Pictures(kRadioMotifs[r]);
    return d;
}

const MainWindowPictures::Drawn& MainWindowPictures::drawn() {
    if (!drawn_)
        drawn_ = pending_.valid() ? pending_.get() : Draw();
    return *drawn_;
}

QIcon MainWindowPictures::tool(ToolMotif motif) {
    return QIcon(QPixmap::fromImage(drawn().tools[static_cast<size_t>(motif)]));
}

QIcon MainWindowPictures::radio(RadioIcons::Motif motif) {
    for (size_t r = 0; r < std::size(kRadioMotifs); ++r)
        if (kRadioMotifs[r] == motif)
            return RadioIcons::FromPictures(drawn().radio[r]);
    return RadioIcons::FromPictures(RadioIcons::Pictures(motif));
}

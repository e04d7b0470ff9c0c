// Placeholder until the catalog tool lands.
#include <QCoreApplication>
#include <QDir>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("tree"))
        QDir().mkpath(args[2] + QStringLiteral("/channel"));
    return 0;
}

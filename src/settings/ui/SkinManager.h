#pragma once
#include <QPalette>
#include <QString>
#include <QStringList>

// The skin facility: one name switches every window of the application to one look at once.
// Looks are generated from a skin's position in the list, so each name has its own stable look.
// A name that is not in the list (for example from a hand-edited Setting.ini) gets the default
// neutral look; it is not reported and nothing is written back.
class SkinManager {
public:
    struct Look {
        QPalette palette;
        QString styleSheet;
    };

    // The 69 built-in skins, in the order the skin list shows them.
    static const QStringList& Names();
    static const QString& DefaultName();
    // The look a name stands for; unknown names give the default look.
    static Look LookFor(const QString& name);

    // Re-skins every window (application palette and style sheet) at once.
    void apply(const QString& name);
    // The name last applied, as given (also when it was unknown).
    const QString& skinName() const { return skinName_; }
    // Whether the last name was one of the list (false: the default look is shown instead).
    bool isKnown() const { return Names().contains(skinName_); }

private:
    QString skinName_;
};

#pragma once
#include "radio/StationDirectory.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// A window over the community radio directory: a search by name, country and genre, and, before
// anything is typed, the stations listened to most in Russia, Ukraine, Belarus and Kazakhstan.
// Choosing a row hands the station's name and stream address to whoever opened the window.
class TDirectoryForm : public QDialog {
    Q_OBJECT
public:
    static inline const QStringList kFirstScreenCountries{"RU", "UA", "BY", "KZ"};
    static constexpr int kFirstScreenPerCountry = 25;
    static constexpr int kSearchLimit = 200;

    // server: [Directory] server= of the settings file; empty to find the servers through DNS.
    explicit TDirectoryForm(const QString& server, QWidget* parent = nullptr);

    void runSearch();
    void showFirstScreen();
    void chooseCurrent();

signals:
    void stationChosen(const QString& name, const QString& url);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Controls (objectName = member name).
    QLineEdit* nameEdit;
    QLineEdit* countryEdit;
    QLineEdit* tagEdit;
    QPushButton* searchButton;
    QPushButton* chooseButton;
    QTreeWidget* results;
    QLabel* statusLine;

    void showStations(const QList<DirectoryStation>& stations);

    StationDirectory directory_;
    QList<DirectoryStation> stations_;
    bool firstShown_ = false;
};

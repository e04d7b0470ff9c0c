#pragma once
#include "app/ui/ToolIcons.h"
#include "radio/ui/RadioIcons.h"

#include <QIcon>
#include <QImage>

#include <array>
#include <future>
#include <iterator>
#include <optional>
#include <vector>

// The main window's pictures, drawn on a thread of their own from construction on: start-up
// spends that time measuring the window's first text on its own thread. The pictures need
// neither fonts nor the window system, so the drawing shares nothing with that thread.
class MainWindowPictures {
public:
    MainWindowPictures();
    MainWindowPictures(const MainWindowPictures&) = delete;
    MainWindowPictures& operator=(const MainWindowPictures&) = delete;
    ~MainWindowPictures();

    // The first call waits for the drawing: a few milliseconds of painting at most, no I/O.
    QIcon tool(ToolMotif motif);
    // One of the radio strip's pictures (record, stop recording, radio off).
    QIcon radio(RadioIcons::Motif motif);

private:
    static constexpr RadioIcons::Motif kRadioMotifs[] = {
        RadioIcons::Motif::Record, RadioIcons::Motif::StopRecording, RadioIcons::Motif::RadioOff};
    struct Drawn {
        std::array<QImage, kToolMotifCount> tools;
        std::array<std::vector<QImage>, std::size(kRadioMotifs)> radio;
    };
    static Drawn Draw();
    const Drawn& drawn();

    std::future<Drawn> pending_;
    std::optional<Drawn> drawn_;
};

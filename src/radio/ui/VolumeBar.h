#pragma once
class QScrollBar;

// The volume bars of the radio strip and the mini radio: 0..100, starting at 100. An arrow and a
// click on the track both move the bar by 1; the thumb keeps its smallest size. Right and Up make it
// louder, Left and Down quieter.
void SetUpVolumeBar(QScrollBar& bar);

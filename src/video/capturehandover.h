#pragma once

#include <QString>

#include <cstdint>

// What the capture screen hands to the frame selection screen after a
// recording, and the capture screen's name boxes that the skier-name fix
// reads and corrects. Owned by the application object.
struct CaptureHandover {
    QString filePath;                    // the recorded file
    double frameRate = 0;                // as the capture device recorded it
    int64_t lengthFrames = 0;            // frames recorded
    int64_t startFrameHint = 0;          // the frame tapped as "Contact"; used when above 0
    bool nameChangedWarningVisible = false; // the skier's name got "X" prefixes to keep a file
    QString skierName;                   // the capture screen's skier name box
    QString passNumber;                  // the capture screen's pass number box
};

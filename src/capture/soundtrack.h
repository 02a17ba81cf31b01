#pragma once

#include "capture/soundsource.h"

#include <QByteArray>

#include <cstdint>

// The sound of a recording laid out on the file's timeline: sample n is
// heard n / rate seconds after the file's first frame began, whatever
// moment the sound input started. Sound from before that moment is cut
// off, a late start is filled with silence, and the sound is handed to
// the file no further than the pictures written so far, so a recording
// never holds more sound than pictures.
class SoundTrack {
public:
    // `format.bits`: 8 (unsigned samples in the file) or 16 (signed).
    explicit SoundTrack(const AudioFormat& format);

    // The steady-clock moment of the file's first frame; blocks are placed
    // relative to it. Until it is known, nothing is added.
    void setStart(int64_t startUs);
    bool started() const { return startKnown_; }

    // A block of the input (16-bit samples); the first one decides where
    // the sound begins, later ones follow without gaps.
    void add(const SoundBlock& block);

    // The file's bytes for the samples not yet taken up to (not including)
    // sample `until`; sound not yet arrived is not made up.
    QByteArray take(int64_t until);
    int64_t samplesTaken() const { return taken_; }

private:
    AudioFormat format_;
    int64_t startUs_ = 0;
    bool startKnown_ = false;
    bool placed_ = false;
    int64_t taken_ = 0;
    QByteArray pending_; // 16-bit samples from sample taken_ on
};

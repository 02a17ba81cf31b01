#pragma once

#include "capture/lake/pinholecamera.h"

// Where the skier of the virtual lake is at a time of the recording. The
// skier runs along the line from the jump point through the landing point:
// up the ramp, off its top edge at take-off, through the air on a thrown
// path, onto the water at the landing point at contact, then away along the
// course slowing down.
struct SkierPose {
    LakePoint bindings;           // the ski point under the boots
    LakePoint ahead;              // unit vector along the course
    double tipRiseMetres = 0.0;   // ski tips above the bindings
    double sinceContactSeconds = 0.0; // below 0 before contact
    bool landed = false;              // on the water after the jump
};

// The skier `seconds` after the recording started. At contact (and within a
// nanosecond before it, so a frame time that rounds just short of it still
// shows the touch) the bindings are on the water at the landing point.
SkierPose SkierAt(double seconds);

// How long after contact the skier passes the point `metres` beyond the
// landing point along the course; infinity for a point the slowing skier
// never reaches.
double SecondsFromContactToPass(double metres);

#pragma once
// The trials quorvel-bench makes: the small bundled sample and the large
// files it times.

#include "c3d/C3d.h"

// A 2-second walking trial at 100 Hz in real storage: 10 labelled markers
// moving smoothly (a few samples invalid), a force plate (6 channels) and two
// EMG channels at 10 samples per frame, four gait events in the header, and
// the POINT, ANALOG, TRIAL, EVENT, FORCE_PLATFORM and MANUFACTURER groups.
bool BuildSampleTrial(CC3d& c3d);

// 65000 frames at 100 Hz, 120 points and 64 analog channels at 10 samples per
// frame, all moving smoothly; about 290 MB in real storage, half that in
// integer storage.
bool BuildLargeTrial(CC3d& c3d, StorageKind storage);

// settings.ini in the running program: read once at start-up, changed by the settings dialog and
// the zoom keys, and saved at once, keeping the file's comments and keys this build does not
// know.
#pragma once

#include "app/session.hpp"

namespace orvane {

inline constexpr std::int32_t kZoomStep = 25;

// Reads settings.ini; what cannot be used is named once in a message box and the default used.
void readLearnerSettings(Session& s);
// The drill's options (review round, keeping the right words) as settings.ini has them.
void applyDrillOptions(Session& s);
// Puts `values` in force (the scan's pace, the scan itself when auto_scan changes) and saves
// them; a file that cannot be written is named in a message box, and the values stay in force
// for this run.
void changeLearnerSettings(Session& s, const Settings& values);
// The settings dialog: what it gives back is put in force and saved.
void editLearnerSettings(Session& s);
// The zoom keys: `percent` is kept within the zoom's range.
void setLearnerZoom(Session& s, std::int32_t percent);

}  // namespace orvane

// Window classes of the common controls that the dialogs use.
#pragma once

// Registers the progress bar's class. The system draws three-dimensional controls
// itself on every version this program runs on, so nothing else is needed for them.
bool RegisterCommonControls();

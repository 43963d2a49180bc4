// Hands a lost audio device from the wave callback thread to the
// user-interface thread: no message box may be shown inside a wave callback.
#pragma once

// Creates the receiver; call it on the user-interface thread.
void prepareDeviceErrorReports();
// Any thread: the user-interface thread shows the device error box once and
// requests the quit.
void reportDeviceError(int number);

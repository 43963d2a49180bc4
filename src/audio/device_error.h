// Hands a lost audio device from the wave callback thread to the
// user-interface thread: no message box may be shown inside a wave callback.
#pragma once

// Creates the receiver; call it on the user-interface thread.
void prepareDeviceErrorReports();
// Any thread: the user-interface thread shows the device error box once and
// requests the quit.
void reportDeviceError(int number);
// Any thread: the user-interface thread tells that the sound output was lost,
// one box at a time however many keys notice it; the program goes on.
void reportOutputLost();

// Hands a failed or lost audio device from the wave callback thread to the
// user-interface thread: no message box may be shown inside a wave callback.
#pragma once

// What the user-interface thread does about it, given by the application.
struct DeviceErrorReports {
    void (*failed)(int number);  // told once; the program then ends
    void (*lost)();              // the sound output went away; the program goes on
};

// Creates the receiver; call it on the user-interface thread before an
// engine opens its channels.
void prepareDeviceErrorReports(const DeviceErrorReports& reports);
// Any thread: the user-interface thread reports the failure once.
void reportDeviceError(int number);
// Any thread: the user-interface thread reports the loss, one report at a
// time however many keys notice it.
void reportOutputLost();

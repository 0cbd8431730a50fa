// COM on the calling thread for the length of an owner's life: initialised when the
// owner is made, released when it goes, and only when the initialisation succeeded, so
// that every CoInitialize that counts is paired with one CoUninitialize.
#pragma once

#include <objbase.h>

class ComInitialization {
public:
    ComInitialization() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComInitialization() {
        if (initialized_) {
            CoUninitialize();
        }
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

private:
    bool initialized_;
};

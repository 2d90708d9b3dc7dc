#pragma once
// The system's default beep (Windows: MessageBeep(0)). A control is handed the
// beep it sounds when it is made; tests hand in one that counts.

namespace platform {

class IBeep {
public:
    virtual ~IBeep() = default;
    virtual void MessageBeep() = 0;
};

// The platform's own beep: one system service, shared by the whole process.
IBeep& SystemBeep();

} // namespace platform

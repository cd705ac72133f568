#pragma once
// The wait pointer of long commands: shown by the picture support installed
// (graphic/picturesupport.h) in a program with a GUI, a no-op anywhere else.
namespace logo {

// Shows the wait mouse pointer for the life of the object.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    void (*m_restore)() = nullptr;
};

} // namespace logo

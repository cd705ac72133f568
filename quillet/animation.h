#pragma once
// The blinking phone preview, without widgets: the window's timer calls tick()
// and shows or hides the preview as told.
namespace quillet {

class BlinkAnimation {
public:
    enum class Step { ShowPicture, HidePicture };

    bool animating() const { return m_animating; }
    void setAnimating(bool on) { m_animating = on; }

    // 1 when the last tick hid the picture (so the next one shows it), else 0.
    // Switching the animation off and on keeps the phase.
    int phase() const { return m_phase; }

    // One blink: from phase 1 show the picture and go to 0, otherwise hide it
    // and go to 1.
    Step tick()
    {
        if (m_phase == 1) {
            m_phase = 0;
            return Step::ShowPicture;
        }
        m_phase = 1;
        return Step::HidePicture;
    }

private:
    bool m_animating = false;
    int m_phase = 0;
};

} // namespace quillet

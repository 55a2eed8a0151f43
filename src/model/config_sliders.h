#pragma once

namespace quelo {

struct WindowState;
class Pacing;

// The seven configuration sliders and the STORE CONFIGURATION button. A slider change marks
// the parameter for writing; the scheduler writes it and the read-back clears the mark.
class ConfigSliders
{
public:
    ConfigSliders(WindowState &w, const Pacing &pacing);

    void cyclescroll_Change();
    void ledscroll_Change();
    void pprscroll_Change();
    void vscroll_Change();
    void conshiftscroll_Change();
    void maxrpmscroll_Change();
    void maxadvancescroll_Change();
    void Command3_Click();

private:
    WindowState &m_w;
    const Pacing &m_pacing;
};

} // namespace quelo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation.h"

#include "convert.h"
#include "int16.h"

#include <cmath>

namespace quelo {

void NeedleAnimation::Timer2_Timer()
{
    // Propeller angle: one degree per tick, or straight to the target when more than 90 away.
    Gauge &prop = m_needles.AGauge2;
    const double propTarget = m_reply.proptarget;
    if (prop.Value > propTarget)
        prop.Value = prop.Value - 1.0;
    if (prop.Value < propTarget)
        prop.Value = prop.Value + 1.0;
    if (std::fabs(propTarget - prop.Value) > 90.0)
        prop.Value = m_reply.proptarget;

    // Engine speed: a tenth of the distance while that is 25 rpm or more, else 1 rpm. The step
    // is the tick's own working value (the decoder's scratch is never carried between calls, so
    // the animation keeps its step to itself).
    Gauge &rpm = m_needles.rpmdial;
    const double rpmTarget = m_reply.rpmtarget;
    std::int16_t step = roundHalfEven16(std::fabs(rpm.Value - rpmTarget));
    if (step > 24)
        step = static_cast<std::int16_t>(step / 10);
    else
        step = 1;
    if (rpm.Value > rpmTarget)
        rpm.Value = rpm.Value - step;
    if (rpm.Value < rpmTarget)
        rpm.Value = rpm.Value + step;

    // Bus voltage: 0.1 per tick, down first.
    Gauge &volts = m_needles.voltsdial;
    const double voltsTarget = m_reply.voltstarget;
    if (volts.Value > voltsTarget)
        volts.Value = volts.Value - 0.1;
    if (volts.Value < voltsTarget)
        volts.Value = volts.Value + 0.1;

    // Advance: 0.1 per tick, up first.
    Gauge &adv = m_needles.advdial;
    const double advTarget = m_reply.advtarget;
    if (adv.Value < advTarget)
        adv.Value = adv.Value + 0.1;
    if (adv.Value > advTarget)
        adv.Value = adv.Value - 0.1;
}

} // namespace quelo

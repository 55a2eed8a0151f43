// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation.h"

#include "convert.h"
#include "int16.h"

#include <cmath>

namespace quelo {

NeedleAnimation::NeedleAnimation(WindowState &w) : m_needles(w), m_reply(w)
{
    for (GaugeTarget *target : {&w.rpmtarget, &w.voltstarget, &w.advtarget, &w.proptarget})
        target->setChangeListener([this] { wakeIfMoving(); });
}

void NeedleAnimation::Timer2_Timer()
{
    const Values before = current();
    Values after = before;
    try {
        step(after);
    } catch (...) {
        store(after); // the steps before the failing one stand
        throw;
    }
    store(after);
    // The step is a function of the needles and the targets alone: a tick that moved nothing
    // is followed by ticks that move nothing until one of them changes.
    m_needles.Timer2.setAsleep(after == before);
}

void NeedleAnimation::wakeIfMoving()
{
    if (m_needles.Timer2.asleep() && !atRest())
        m_needles.Timer2.setAsleep(false);
}

bool NeedleAnimation::atRest() const
{
    const Values v = current();
    Values moved = v;
    try {
        step(moved);
    } catch (...) {
        return false; // the tick fails: it is not at rest
    }
    return moved == v;
}

void NeedleAnimation::store(const Values &v)
{
    m_needles.AGauge2.Value = v.prop;
    m_needles.rpmdial.Value = v.rpm;
    m_needles.voltsdial.Value = v.volts;
    m_needles.advdial.Value = v.adv;
}

NeedleAnimation::Values NeedleAnimation::current() const
{
    return {m_needles.AGauge2.Value, m_needles.rpmdial.Value, m_needles.voltsdial.Value,
            m_needles.advdial.Value};
}

void NeedleAnimation::step(Values &v) const
{
    // Propeller angle: one degree per tick, or straight to the target when more than 90 away.
    const double propTarget = m_reply.proptarget;
    if (v.prop > propTarget)
        v.prop = v.prop - 1.0;
    if (v.prop < propTarget)
        v.prop = v.prop + 1.0;
    if (std::fabs(propTarget - v.prop) > 90.0)
        v.prop = m_reply.proptarget;

    // Engine speed: a tenth of the distance while that is 25 rpm or more, else 1 rpm. The step
    // is the tick's own working value (the decoder's scratch is never carried between calls, so
    // the animation keeps its step to itself).
    const double rpmTarget = m_reply.rpmtarget;
    std::int16_t step = roundHalfEven16(std::fabs(v.rpm - rpmTarget));
    if (step > 24)
        step = static_cast<std::int16_t>(step / 10);
    else
        step = 1;
    if (v.rpm > rpmTarget)
        v.rpm = v.rpm - step;
    if (v.rpm < rpmTarget)
        v.rpm = v.rpm + step;

    // Bus voltage: 0.1 per tick, down first.
    const double voltsTarget = m_reply.voltstarget;
    if (v.volts > voltsTarget)
        v.volts = v.volts - 0.1;
    if (v.volts < voltsTarget)
        v.volts = v.volts + 0.1;

    // Advance: 0.1 per tick, up first.
    const double advTarget = m_reply.advtarget;
    if (v.adv < advTarget)
        v.adv = v.adv + 0.1;
    if (v.adv > advTarget)
        v.adv = v.adv - 0.1;
}

} // namespace quelo

// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes from the serial line into the connected window, with the scheduler, the
// pacing and the animation ticking between chunks and a user moving sliders and clicking.
#include "harness.h"

#include "framing.h"
#include "hex2dec.h"
#include "parameters.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

using namespace quelo;

namespace {

const std::string *g_wire = nullptr;

[[noreturn]] void violated(const char *what)
{
    std::fprintf(stderr, "invariant violated: %s\n", what);
    if (g_wire) {
        std::string shown;
        for (char c : *g_wire)
            shown += c == '\r' ? std::string("<CR>") : std::string(1, c);
        std::fprintf(stderr, "wire: %s\n", shown.c_str());
    }
    std::abort();
}

// Values a write may carry: chosen by the user, or reported by the module itself.
struct Allowed
{
    std::map<char, std::set<long long>> values;
    std::string partialLine;

    // Follows the lines the way the framing cuts them; only the newest characters of an
    // overlong line survive.
    void reported(const std::string &chunk)
    {
        for (char ch : chunk) {
            partialLine += ch;
            if (ch != '\r' && ch != '\n') {
                if (partialLine.size() > LineFraming::kMaxBuffer)
                    partialLine.erase(0, partialLine.size() - LineFraming::kMaxBuffer);
                continue;
            }
            // The module reports a parameter as its letter and two hex digits.
            const bool readBack = partialLine.size() == 4 &&
                                  std::isxdigit(static_cast<unsigned char>(partialLine[1])) &&
                                  std::isxdigit(static_cast<unsigned char>(partialLine[2]));
            const auto k = Hex2Dec(partialLine.substr(1, 2));
            for (const Parameter &p : kParameters) {
                if (readBack && partialLine[0] == p.letter && k) {
                    long long v = static_cast<long long>(*k);
                    if (p.letter == 'c' && v > 20)
                        v -= 255;
                    values[p.writeLetter].insert(v);
                }
            }
            partialLine.clear();
        }
    }
};

// Every command on the wire is "/", a letter, an optional decimal value, and CR; every write
// carries a value in its slider's range that the user chose or the module reported.
void checkWire(const std::string &wire, const WindowState &w, const Allowed &allowed)
{
    std::size_t i = 0;
    while (i < wire.size()) {
        const auto cr = wire.find('\r', i);
        if (cr == std::string::npos)
            return; // a command still being sent
        const std::string command = wire.substr(i, cr - i);
        i = cr + 1;
        if (command.size() < 2 || command[0] != '/')
            violated("malformed command on the wire");
        const std::string value = command.substr(2);
        for (const Parameter &p : kParameters) {
            if (command[1] != p.writeLetter)
                continue;
            char *end = nullptr;
            const long long v = std::strtoll(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0')
                violated("write without a decimal value");
            if (!(w.*p.slider).inRange(v))
                violated("write outside the slider's range");
            const auto it = allowed.values.find(p.writeLetter);
            if (it == allowed.values.end() || !it->second.count(v))
                violated("write of a value nobody chose");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    quelo::test::Harness h;
    WindowState &w = h.w;
    g_wire = &h.comm.written;
    h.connect();
    Allowed allowed;

    std::size_t pos = 0;
    while (pos < size) {
        const std::uint8_t control = data[pos++];
        switch (control >> 5) {
        case 0: { // a user moves a slider to a value in its range
            if (pos >= size)
                break;
            const Parameter &p = kParameters[control % 7];
            ScrollBar &slider = w.*p.slider;
            const int span = slider.Max() - slider.Min() + 1;
            const auto v = static_cast<std::int16_t>(slider.Min() + data[pos++] % span);
            allowed.values[p.writeLetter].insert(v);
            h.model.moveSlider(slider, v);
            break;
        }
        case 1:
            if ((control & 0x1F) == 0)
                h.model.Command5_Click();
            else
                h.model.Command3_Click();
            break;
        case 2: // time passes: up to 3.1 s
            h.clock.advance(100 * (control & 0x1F));
            break;
        default: { // a chunk from the module
            const std::size_t length = std::min<std::size_t>((control & 0x3F) + 1, size - pos);
            const std::string chunk(reinterpret_cast<const char *>(data + pos), length);
            pos += length;
            allowed.reported(chunk);
            h.feed(chunk);
            h.clock.advance(10);
            break;
        }
        }
        if (h.comm.Tag != "0")
            violated("decoder left busy");
        if (w.rxbuffer.size() > LineFraming::kMaxBuffer)
            violated("receive buffer over its bound");
        for (const Parameter &p : kParameters) {
            const ScrollBar &slider = w.*p.slider;
            if (!slider.inRange(slider.Value()))
                violated("slider outside its range");
            if (slider.Tag != "0" && slider.Tag != "1")
                violated("slider flag not 0 or 1");
        }
        if (w.readslot < 0 || w.readslot > 12)
            violated("read slot out of range");
        checkWire(h.comm.written, w, allowed);
    }
    // Let the link run on so queued writes reach the wire and get checked too.
    h.clock.advance(5000);
    checkWire(h.comm.written, w, allowed);
    return 0;
}

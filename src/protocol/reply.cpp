// SPDX-License-Identifier: GPL-3.0-or-later
#include "reply.h"

#include <algorithm>

namespace quelo {

namespace {

constexpr std::string_view kLetters = "pcutvdlnmxbjw";
constexpr ReplyKind kLetterKinds[] = {
    ReplyKind::Propeller, ReplyKind::AdvanceShift, ReplyKind::Version, ReplyKind::TachPulses,
    ReplyKind::TachVolts, ReplyKind::StartDelay,   ReplyKind::LedMode, ReplyKind::MaxAdvance,
    ReplyKind::MaxRpm,    ReplyKind::EngineSpeed,  ReplyKind::Advance, ReplyKind::ShiftEnable,
    ReplyKind::BusVolts};

// The longest value an echo can repeat: a slider's 16-bit value in decimal.
constexpr std::size_t kMaxEchoDigits = 6;

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view withoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// Characters [first, first + count), 1-based, of what the line holds.
std::string window(std::string_view line, std::size_t first, std::size_t count)
{
    return first - 1 < line.size() ? std::string(line.substr(first - 1, count)) : std::string();
}

// The letter and two hex digits, nothing else.
bool isLetterAndTwoHexDigits(std::string_view line)
{
    const std::string_view body = withoutLineEnd(line);
    return body.size() == 3 && isHexDigit(body[1]) && isHexDigit(body[2]);
}

void parseEcho(std::string_view line, Reply &reply)
{
    std::string_view body = withoutLineEnd(line);
    reply.letter = body.size() >= 2 ? body[1] : (line.size() >= 2 ? line[1] : '\0');
    if (body.size() < 2 || reply.letter < 'A' || reply.letter > 'Z')
        return;
    body.remove_prefix(2);
    if (body.empty()) {
        reply.shapeOk = true;
        return;
    }
    const bool negative = body.front() == '-';
    std::string_view digits = negative ? body.substr(1) : body;
    if (digits.empty() || digits.size() > kMaxEchoDigits ||
        !std::all_of(digits.begin(), digits.end(), isDigit))
        return;
    long long value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    reply.echoValue = negative ? -value : value;
    reply.shapeOk = true;
}

} // namespace

Reply parseReply(std::string_view line)
{
    Reply reply;
    if (line.empty())
        return reply;
    reply.letter = line[0];
    if (line[0] == '=') {
        reply.kind = ReplyKind::Telemetry;
        reply.field = window(line, 2, 4);
        reply.advanceField = window(line, 6, 2);
        reply.voltsField = window(line, 12, 2);
        reply.shapeOk = true;
        return reply;
    }
    if (line[0] == '/') {
        reply.kind = ReplyKind::Echo;
        parseEcho(line, reply);
        return reply;
    }
    const std::size_t index = kLetters.find(line[0]);
    if (index == std::string_view::npos)
        return reply;
    reply.kind = kLetterKinds[index];
    reply.field = window(line, 2, reply.kind == ReplyKind::EngineSpeed ? 4 : 2);
    switch (reply.kind) {
    case ReplyKind::Propeller:
    case ReplyKind::EngineSpeed:
    case ReplyKind::Advance:
    case ReplyKind::BusVolts:
        reply.shapeOk = true; // measurements are decoded as they come
        break;
    default:
        reply.shapeOk = isLetterAndTwoHexDigits(line);
        break;
    }
    return reply;
}

} // namespace quelo

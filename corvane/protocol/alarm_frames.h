#pragma once

#include <string>
#include <string_view>

#include "corvane/module_link.h"
#include "corvane/protocol/register_map.h"
#include "corvane/state/received_display.h"

// The loops that load one alarm into the module, shared by the single transmission
// and the multiple run. Each sends on the link and shows what it sent in the
// "message received" display.
namespace alarm_frames {

constexpr int kNumberMaxChars = 16;
constexpr int kMessageChars = 15;    // S path, every format but Pulse 4X2
constexpr int kPulse4x2Chars = 6;    // the module sends the first six characters only
constexpr int kMessageCharPauseMs = 30;
constexpr int kKFramePauseMs = 100;

// 'D' (shown), then at most 16 number characters, one write each with no pause. A
// shorter number ends with CR, shown as CR LF; a number of 16 or more ends without it.
void sendTelephoneNumber(ModuleLink& link, ReceivedDisplay& display, std::string_view number);

// Exactly `count` message characters, one write each followed by 30 ms; each is added
// to transmittingText and shown. A message shorter than the count is followed by zero
// bytes, which the module takes as padding and which are neither added nor shown.
void sendMessageCharacters(ModuleLink& link, ReceivedDisplay& display,
                           std::string& transmittingText, std::string_view message, int count);

// The SIA FSK F1 message as K frames, the pairs of alarm_message::fskF1Frames (the
// reading the message's explanation counts): the n-th hex pair of message goes to
// address D0 + n, at most 14 frames, 100 ms after each. A pair below 20 hex, or fewer
// than two characters left, ends the message. Each pair goes out as typed. Shows K,
// the address and the pair; the pair's two characters are also added to
// transmittingText.
void sendKFrames(ModuleLink& link, ReceivedDisplay& display, std::string& transmittingText,
                 std::string_view message);

// The SIA FSK F1 message as it follows the number: CR, 10 ms, transmittingText emptied,
// then the K frames.
void sendKPath(ModuleLink& link, ReceivedDisplay& display, std::string& transmittingText,
               std::string_view message);

}  // namespace alarm_frames

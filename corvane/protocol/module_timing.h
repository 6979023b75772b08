#pragma once

#include "corvane/protocol/alarm_frames.h"

// Every pause Corvane makes towards the module, named for what it waits for. The
// module never acknowledges a frame (except a register query and an M frame with
// acknowledgement), so these pauses are its pacing: they are part of the contract
// with it and must not change. A pause lasts at least its length.
namespace module_timing {

// --- loading an alarm: single transmission and multiple run ---------------------
inline constexpr int kAfterWakeCrMs = 50;          // the lone CR that opens a transmission
inline constexpr int kAfterProgrammingOnMs = 50;   // W3D01: the module enters programming
inline constexpr int kAfterControlWriteMs = 100;   // WAC and its value are taken
inline constexpr int kAfterFormatWriteMs = 100;    // W7F0, the protocol code and CR
inline constexpr int kAfterSpareCrMs = 100;        // the lone CR before the number
inline constexpr int kMessageCharMs = alarm_frames::kMessageCharPauseMs;  // each S character
inline constexpr int kAfterMessageFrameMs = 30;    // the CR that ends the S frame
inline constexpr int kKFrameMs = alarm_frames::kKFramePauseMs;  // each K frame is stored
inline constexpr int kAfterProgrammingOffMs = 50;  // W3D00, before G dials

// --- the next message of a multiple run --------------------------------------------
inline constexpr int kBeforeNextSFrameMs = 100;    // the CRs before the next S frame
inline constexpr int kBeforeNextMessageMs = 500;   // the S frame is stored, before B
inline constexpr int kAfterNextKFramesMs = 100;    // the K frames' CR, before B

// --- option registers -----------------------------------------------------------------
inline constexpr int kSwitchSettleMs = 200;     // after the store, before a switch sends
inline constexpr int kOptionByteMs = 10;        // each byte of an M frame with acknowledgement
inline constexpr int kAckWaitMs = 100;          // before and after each read of its answer
inline constexpr int kControlFrameGapMs = 50;   // between the frames of the AC sequence
inline constexpr int kToneWriteMs = 100;        // after each write of B1
inline constexpr int kKissoffWriteMs = 200;     // after M83 and the typed time
inline constexpr int kDialerTimeoutEditMs = 200;  // an edit of 1038, before its flag rises

// --- factory defaults ---------------------------------------------------------------
inline constexpr int kAfterResetKeyMs = 20;        // W8755, before the CR and X
inline constexpr int kDefaultsReloadMs = 5000;     // X: the module reloads its defaults
inline constexpr int kDefaultMessageCharMs = 20;   // each character of the default S frame
inline constexpr int kAfterDefaultNumberMs = 50;   // the D2 frame
inline constexpr int kBeforeDefaultFormatMs = 10;  // the CR before W7F00
inline constexpr int kAfterDefaultFormatMs = 20;   // W7F00

// --- the link test at start-up ------------------------------------------------------
inline constexpr int kLinkStepMs = 100;  // between the steps of the 115200 baud check

// --- the operator's keys and format buttons ------------------------------------------
inline constexpr int kKeySettleMs = 100;          // after a kbdata key, edited or sent
inline constexpr int kFormatClickSettleMs = 200;  // a format button, before it is shown

// --- the poll tick --------------------------------------------------------------------
inline constexpr int kRestOfBurstMs = 50;  // after a first read that got bytes
inline constexpr int kTimingLineMs = 1;    // the pause the start-up's timing line measures

}  // namespace module_timing

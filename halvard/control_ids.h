#pragma once

// Control ids of Halvard's settings dialog.
namespace halvard_ids {
constexpr int kServerName = 1000;
constexpr int kUserName = 1001;
constexpr int kPassword = 1002;
constexpr int kSender = 1003;
constexpr int kFromAddress = 1004;
constexpr int kToAddress = 1005;
constexpr int kSubject = 1006;
constexpr int kWaveFile = 1007;
constexpr int kWaveLength = 1008;
constexpr int kCommPort = 1009;
constexpr int kAutoDetect = 1010;
constexpr int kEnableEmail = 1011;
constexpr int kMainCommportGroup = 58112;
constexpr int kSecondToAddress = 1013;
constexpr int kFirstLine = 1014;
// Not in the dialog's template: the button in the row under it.
constexpr int kSendTestEmail = 1020;
}  // namespace halvard_ids

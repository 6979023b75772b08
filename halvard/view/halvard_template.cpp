#include "halvard/view/halvard_template.h"

#include "halvard/control_ids.h"

using namespace halvard_ids;

namespace {

constexpr int kNoId = ControlSpec::kNoId;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kPushButton;
constexpr ControlKind kRadio = ControlKind::kRadioButton;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kGroup = ControlKind::kGroupBox;

}  // namespace

DialogTemplate halvardTemplate() {
  return DialogTemplate{
      "HalvardZm40.exe  6-11-22",
      674,
      282,
      "Halvard",
      {
          {kServerName, kEdit, 80, 20, 180, 15, "", false, "SMTP SERVER"},
          {kNoId, kLabel, 10, 20, 60, 10, "SMTP SERVER"},
          {kNoId, kLabel, 10, 50, 60, 10, "USER NAME"},
          {kNoId, kLabel, 10, 110, 60, 10, "SENDER "},
          {kUserName, kEdit, 80, 50, 180, 15, "", false, "USER NAME"},
          {kPassword, kEdit, 80, 80, 180, 15, "", false, "PASSWORD"},
          {kSender, kEdit, 80, 110, 180, 15, "", false, "SENDER "},
          {kFromAddress, kEdit, 80, 140, 180, 15, "", false, "FROM ADDRESS"},
          {kToAddress, kEdit, 340, 20, 130, 15, "", false, "TO ADDRESS"},
          {kSubject, kEdit, 341, 74, 130, 15, "", false, "SUBJECT"},
          {kWaveFile, kEdit, 340, 105, 130, 15, "", false, "WAVEFILE"},
          {kWaveLength, kEdit, 339, 132, 130, 15, "", false, "WAVEFILE PLAYING LENGTH IN SECOND"},
          {kNoId, kLabel, 10, 80, 60, 10, "PASSWORD"},
          {kNoId, kLabel, 270, 20, 60, 10, "TO ADDRESS"},
          {kNoId, kLabel, 10, 140, 60, 10, "FROM ADDRESS"},
          {kNoId, kLabel, 269, 103, 60, 10, "WAVEFILE"},
          {kNoId, kLabel, 270, 78, 60, 10, "SUBJECT"},
          {kNoId, kLabel, 269, 116, 40, 40, "WAVEFILE PLAYING LENGTH IN SECOND"},
          {kCommPort, kEdit, 42, 226, 60, 15, "", false, "MAIN COMMPORT"},
          {kNoId, kGroup, 7, 7, 643, 206, "EMAIL PARAMETERS"},
          {kAutoDetect, kButton, 41, 246, 130, 20, "AUTO COMMPORT DETECTION"},
          {kEnableEmail, kRadio, 17, 190, 80, 15, "ENABLE EMAIL"},
          {kMainCommportGroup, kGroup, 31, 216, 178, 53, "MAIN COMMPORT"},
          {kNoId, kLabel, 270, 52, 60, 22, "SECOND TO EMAIL ADDRESS"},
          {kSecondToAddress, kEdit, 341, 52, 130, 15, "", false, "SECOND TO EMAIL ADDRESS"},
          {kNoId, kLabel, 14, 171, 60, 10, "First line in emails"},
          {kFirstLine, kEdit, 81, 169, 545, 15, "", false, "First line in emails"},
      }};
}

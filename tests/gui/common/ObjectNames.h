#pragma once
// The Qt object names the GUI tests reach the windows' controls by. The
// names are the program's designer names (docs/ARCHITECTURE.md lists them
// with their members); here each gets the role a test means by it.

namespace brenvik::test {

// The main window (Form1).
inline constexpr char kProcessButton[] = "Button1";
inline constexpr char kQuitButton[] = "Button2";
inline constexpr char kSourceBox[] = "Source";
inline constexpr char kOutputBox[] = "Output";
inline constexpr char kSourceHint[] = "Label4";
inline constexpr char kOutputHint[] = "Label1";
inline constexpr char kTestVersionButton[] = "RadioButton1";
inline constexpr char kPracticeButton[] = "RadioButton2";
inline constexpr char kShowAnswersBox[] = "CheckBox1";
inline constexpr char kTimerBox[] = "CheckBox2";
// Its menus and menu actions.
inline constexpr char kFileMenu[] = "mnuFile";
inline constexpr char kEditMenu[] = "Edit1";
inline constexpr char kHelpMenu[] = "mnuHelp";
inline constexpr char kOpenAction[] = "mnuOpen";
inline constexpr char kSaveSourceAction[] = "mnuSave";
inline constexpr char kSaveOutputAction[] = "Saveoutput1";
inline constexpr char kExportWebAction[] = "mnuExporttoweb";
inline constexpr char kExportMobileAction[] = "mnuExportMobile";
inline constexpr char kExportMoodleAction[] = "mnuExportMoodle";
inline constexpr char kExportPdfAction[] = "mnuExportPdf";
inline constexpr char kPrintAction[] = "mnuPrint";
inline constexpr char kQuitAction[] = "mnuQuit";
inline constexpr char kOutputSettingsAction[] = "Output1";
inline constexpr char kHelpContentsAction[] = "Contents1";
inline constexpr char kAboutAction[] = "mnuAbout";

// The configure-output window (Form2).
namespace output_window {
inline constexpr char kOkButton[] = "Button1";
inline constexpr char kPageBackgroundButton[] = "Button2";
inline constexpr char kPageTextButton[] = "Button3";
inline constexpr char kAnswerBoxButton[] = "Button4";
inline constexpr char kAnswerTextButton[] = "Button5";
inline constexpr char kTextSizeEdit[] = "Edit1";
inline constexpr char kPageBackgroundEdit[] = "Edit2";
inline constexpr char kPageTextEdit[] = "Edit3";
inline constexpr char kAnswerBoxEdit[] = "Edit4";
inline constexpr char kAnswerTextEdit[] = "Edit5";
inline constexpr char kTitleEdit[] = "Edit6";
inline constexpr char kPageBackgroundSwatch[] = "Shape1";
inline constexpr char kPageTextSwatch[] = "Shape2";
inline constexpr char kAnswerBoxSwatch[] = "Shape3";
inline constexpr char kAnswerTextSwatch[] = "Shape4";
inline constexpr char kFontBox[] = "ComboBox1";
inline constexpr char kBevel[] = "Bevel1";
}  // namespace output_window

}  // namespace brenvik::test

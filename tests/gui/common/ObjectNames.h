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
inline constexpr char kExportScormAction[] = "mnuExportScorm";
inline constexpr char kPrintAction[] = "mnuPrint";
inline constexpr char kQuitAction[] = "mnuQuit";
inline constexpr char kOutputSettingsAction[] = "Output1";
inline constexpr char kHelpContentsAction[] = "Contents1";
inline constexpr char kAboutAction[] = "mnuAbout";
inline constexpr char kOpenTestAction[] = "mnuOpenTest";
inline constexpr char kSaveTestAction[] = "mnuSaveTest";
inline constexpr char kSaveTestAsAction[] = "mnuSaveTestAs";
inline constexpr char kTextsAction[] = "mnuTexts";
inline constexpr char kTestOptionsAction[] = "mnuTestOptions";
inline constexpr char kGapEditorAction[] = "mnuGapEditor";

// The texts window.
namespace texts_window {
inline constexpr char kWindow[] = "TextsWindow";
inline constexpr char kList[] = "TextList";
inline constexpr char kAdd[] = "AddText";
inline constexpr char kRemove[] = "RemoveText";
inline constexpr char kRename[] = "RenameText";
inline constexpr char kUp[] = "MoveTextUp";
inline constexpr char kDown[] = "MoveTextDown";
}  // namespace texts_window

// The test options.
namespace options_window {
inline constexpr char kWindow[] = "TestOptions";
inline constexpr char kText[] = "OptionsText";
inline constexpr char kGapLimit[] = "GapLimit";
inline constexpr char kKeepLast[] = "KeepLastSentence";
inline constexpr char kMatching[] = "Matching";
inline constexpr char kLanguage[] = "Language";
inline constexpr char kOk[] = "OptionsOk";
}  // namespace options_window

// The gap editor.
namespace gap_editor {
inline constexpr char kWindow[] = "GapEditor";
inline constexpr char kTable[] = "GapTable";
inline constexpr char kEveryWord[] = "EveryWord";
}  // namespace gap_editor

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

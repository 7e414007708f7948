#pragma once
// Every text a user reads, in each language Corvid speaks, reached by what it
// is for. One table per language (texts_ja.cpp, texts_en.cpp); the Japanese
// table holds the program's own texts as they have always been.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvid {

enum class Language : uint8_t { Japanese, English };

enum class TextId : uint16_t {
  // The settings file.
  SettingsUnusable,        // the start-up box's first lines
  SettingsUnreadValue,     // before the value that could not be read
  SettingsKeptAs,          // before the name of the copy
  SettingsLeftAlone,       // no copy could be made
  SettingsTooLarge,        // followed by the size in MB and SettingsTooLargeEnd
  SettingsTooLargeEnd,
  SettingsCannotRead,
  SettingsNoSetting,
  SettingsUnknownEncoding,
  SaveFailed,
  SaveFailedUnchanged,
  SaveFailedNotRestored,
  SaveRefused,             // the file was left as it was at start
  // The remote and the modes (receive log).
  BatteryLow,
  KeyboardModeSet,
  MouseModeSet,
  AppKeyboardMapBefore,    // around the App number
  AppKeyboardMapAfter,
  AppMouseMapBefore,
  AppMouseMapAfter,
  RemoteGone,
  RemoteFound,
  // Boxes.
  InputRefused,
  HookStartFailed,
  MouseHookRemoveFailed,
  KeyHookRemoveFailed,
  HelpMissingBefore,       // around the help file's name
  HelpMissingAfter,
  AlreadyRunning,
  WindowsUnavailable,      // a window Corvid cannot run without was not made
  // The tray menu.
  MenuKeyMap,
  MenuEnvironment,
  MenuMonitor,
  MenuLaunchPrograms,
  MenuHelpBefore,          // around the version
  MenuHelpAfter,
  MenuQuit,
  // The notification icon's tip.
  TrayRemoteConnected,
  TrayRemoteMissing,
  // The settings windows.
  ButtonUseNow,
  ButtonSave,
  ButtonStop,
  ButtonCancel,
  ButtonRevert,
  ButtonCopyBasic,
  ButtonKeyboard,
  ButtonMouse,
  ButtonFind,
  ButtonTest,
  ButtonBrowse,
  EnvCaption,
  EnvGroupGeneral,
  EnvHideStart,
  EnvLowBattSkip,
  EnvNoPsRep,
  EnvStartMouse,
  EnvFollowForeground,
  EnvGroupRepeat,
  EnvKeyIdle,
  EnvKeyRepeat,
  EnvGroupCursor,
  EnvNoCursor,
  EnvCurSmooth,
  EnvAdjustAspect,
  EnvCurSpeed,
  EnvGroupMessage,
  EnvMesFont,
  EnvMesSize,
  EnvMesPosx,
  EnvMesPosy,
  EnvDispMessage,
  EnvBkMessage,
  EnvDispChange,
  EnvDispBatt,
  EnvTextColour,
  EnvBackColour,
  EnvLanguage,
  EnvLanguageAuto,
  EnvLanguageJapanese,
  EnvLanguageEnglish,
  EnvLanguageNextStart,
  EditorAppKeySet,
  EditorAppKeySetTitle,
  EditorAppKeyBasicOnly,
  EditorAppKeyBasicOnlyTitle,
  EditorBackToBasicBefore,
  EditorBackToBasicAfter,
  LaunchCaption,
  LaunchEntry,
  LaunchGroupProgram,
  LaunchMessage,
  LaunchProgramFile,
  LaunchArguments,
  LaunchFolder,
  LaunchTargetClass,
  LaunchTargetCaption,
  LaunchGroupActivation,
  LaunchPlacement,
  LaunchNormal,
  LaunchMinimised,
  LaunchMaximised,
  LaunchRectangle,
  LaunchTopmost,
  LaunchRecordState,
  LaunchOwnKeyMap,
  LaunchStartMap,
  LaunchDummyClick,
  LaunchDelay,
  LaunchCoRun,
  LaunchGroupKeyAction,
  LaunchRunningAction,
  LaunchNothing,
  LaunchRestore,
  LaunchAnother,
  LaunchQuitRunning,
  LaunchLongPressQuit,
  LaunchLongPressTime,
  LaunchDebugWindow,
  LaunchNotInteger,
  LaunchStartKeep,
  LaunchStartKeyboard,
  LaunchStartMouse,
  LaunchBackHome,
  LaunchProgramFilter,  // the open-file dialog's filter, its parts ended by '|'
  // The same in both languages: the editor's menus and fields, the logs' captions.
  EditorMenuNop,
  EditorMenuMedia,
  EditorMenuNext,
  EditorMenuPrev,
  EditorMenuPlayPause,
  EditorMenuStop,
  EditorMenuVolumeUp,
  EditorMenuMute,
  EditorMenuVolumeDown,
  EditorMenuSystem,
  EditorMenuReboot,
  EditorMenuSuspend,
  EditorMenuHibernate,
  EditorMenuShutDown,
  EditorMenuQuitAll,
  EditorMenuLeftClick,
  EditorMenuRightClick,
  EditorMenuMiddleClick,
  EditorMenuDoubleClick,
  EditorMenuWheelUp,
  EditorMenuWheelDown,
  EditorMenuSpeedUp,
  EditorMenuSpeedDown,
  EditorIndex,
  EditorCode,
  EditorSendCode,
  MonitorCaption,
  DebugCaption,
  kCount
};

// The text in the language in use (Japanese until one is chosen).
std::string_view Text(TextId id);
std::string_view Text(TextId id, Language language);
void UseLanguage(Language language);
Language LanguageInUse();

// [System] Language: "ja", "en", or "auto" (and anything else, unread, as
// "auto"), which takes Japanese when the user's display language (a Windows
// language identifier) is Japanese, English otherwise.
Language ChooseLanguage(std::string_view setting, uint16_t userUiLanguage);
// The language the setting names; none for "auto" and anything unread.
std::optional<Language> NamedLanguage(std::string_view setting);
inline constexpr uint16_t kJapaneseLanguageId = 0x0411, kEnglishLanguageId = 0x0409;

// A text given as it stands (a number, a sign) or by its identifier, as the
// windows' control tables name their captions.
struct TextRef {
  constexpr TextRef(const char* text = "") : literal(text) {}
  constexpr TextRef(TextId text) : id(text) {}
  std::string_view Get() const { return id == TextId::kCount ? std::string_view(literal) : Text(id); }
  const char* literal = "";
  TextId id = TextId::kCount;
};

// A table's row, and a table: every identifier once, in any order.
struct TextRow {
  TextId id;
  std::string_view text;
};
struct TextTable {
  const TextRow* rows;
  size_t size;
};
TextTable JapaneseTexts();
TextTable EnglishTexts();

}  // namespace corvid

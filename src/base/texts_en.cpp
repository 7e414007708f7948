// The English texts. The accelerator letters of the tray menu are the
// Japanese ones (K, G, M, E, H, Q), so a user's habits carry over.
#include "base/texts.h"

namespace corvid {
namespace {

using T = TextId;

constexpr TextRow kRows[] = {
    {T::SettingsUnusable, "The settings file is not usable.\nAll settings are set back to their defaults."},
    {T::SettingsUnreadValue, "\n\nValue that could not be read: "},
    {T::SettingsKeptAs, "\nThe original file was kept as:\n"},
    {T::SettingsLeftAlone,
     "\nNo copy of the original file could be made, so it is left as it is, and Corvid runs on the factory "
     "settings this time.\n"},
    {T::SettingsTooLarge, "the file is too large ("},
    {T::SettingsTooLargeEnd, " MB)"},
    {T::SettingsCannotRead, "the file cannot be read"},
    {T::SettingsNoSetting, "there is no setting in it"},
    {T::SettingsUnknownEncoding, "its character encoding cannot be told"},
    {T::SaveFailed, "The settings could not be saved."},
    {T::SaveFailedUnchanged, "The settings could not be saved. The file is unchanged."},
    {T::SaveFailedNotRestored,
     "The settings could not be saved, and the file could not be put back as it was. Please save again."},
    {T::SaveRefused,
     "Nothing was saved: the settings file could not be read at start and was left as it is.\n"
     "Repair the file or move it elsewhere, then read it again with \"Reload\".\n"},
    {T::BatteryLow, "The remote's battery is low."},
    {T::KeyboardModeSet, "Keyboard mode is on."},
    {T::MouseModeSet, "Mouse mode is on."},
    {T::AppKeyboardMapBefore, "Keyboard map of [ App-"},
    {T::AppKeyboardMapAfter, " ]."},
    {T::AppMouseMapBefore, "Mouse map of [ App-"},
    {T::AppMouseMapAfter, " ]."},
    {T::RemoteGone, "SONY BD-Controller >> disconnected."},
    {T::RemoteFound, "SONY BD-Controller >> connected."},
    {T::InputRefused, "Corvid may not send input to the program in front. The action is cancelled."},
    {T::HookStartFailed, "A hook could not be started"},
    {T::MouseHookRemoveFailed, "The mouse hook could not be removed"},
    {T::KeyHookRemoveFailed, "The key hook could not be removed"},
    {T::HelpMissingBefore, "The help file "},
    {T::HelpMissingAfter, " was not found.\nLooked in:"},
    {T::AlreadyRunning, "Corvid is already running. Look for its icon in the notification area."},
    {T::WindowsUnavailable, "Corvid could not create its windows and ends."},
    {T::MenuKeyMap, "Basic &Key Map..."},
    {T::MenuEnvironment, "&General Settings..."},
    {T::MenuMonitor, "Code &Monitor"},
    {T::MenuLaunchPrograms, "R&egistered Programs..."},
    {T::MenuHelpBefore, "&Help (Ver."},
    {T::MenuHelpAfter, ")"},
    {T::MenuQuit, "&Quit"},
    {T::TrayRemoteConnected, "Remote connected"},
    {T::TrayRemoteMissing, "No remote connected"},
};

}  // namespace

TextTable EnglishTexts() { return {kRows, sizeof kRows / sizeof kRows[0]}; }

}  // namespace corvid

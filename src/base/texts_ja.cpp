// The Japanese texts: the program's own, exactly as they have always been.
#include "base/texts.h"

namespace corvid {
namespace {

using T = TextId;

constexpr TextRow kRows[] = {
    {T::SettingsUnusable, "環境ファイルが適正ではありません。\n設定値をすべて初期化します。"},
    {T::SettingsUnreadValue, "\n\n読めなかった値: "},
    {T::SettingsKeptAs, "\n元のファイルは次の名前で保存しました:\n"},
    {T::SettingsLeftAlone,
     "\n元のファイルを別名で保存できなかったため、ファイルはそのまま残し、今回は初期設定で動作します。\n"},
    {T::SettingsTooLarge, "ファイルが大きすぎます ("},
    {T::SettingsTooLargeEnd, " MB)"},
    {T::SettingsCannotRead, "ファイルを読めません"},
    {T::SettingsNoSetting, "設定が一つもありません"},
    {T::SettingsUnknownEncoding, "文字コードを判別できません"},
    {T::SaveFailed, "設定ファイルに保存できませんでした。"},
    {T::SaveFailedUnchanged, "設定ファイルに保存できませんでした。ファイルは変更されていません。"},
    {T::SaveFailedNotRestored,
     "設定ファイルに保存できず、ファイルを元に戻すこともできませんでした。もう一度保存してください。"},
    {T::SaveRefused,
     "設定ファイルが読めないまま残されているため、保存しませんでした。\n"
     "ファイルを直すか別の場所へ移してから、「復帰」で読み直してください。\n"},
    {T::BatteryLow, "バッテリー不足です。"},
    {T::KeyboardModeSet, "キーボードモード設定されました。"},
    {T::MouseModeSet, "マウス併用モード設定されました。"},
    {T::AppKeyboardMapBefore, "【 App-"},
    {T::AppKeyboardMapAfter, " 】のキーボード割付モードです。"},
    {T::AppMouseMapBefore, "【 App-"},
    {T::AppMouseMapAfter, " 】のマウス併用割付モードです。"},
    {T::RemoteGone, "SONY BD-Controller >>接続が解除されています。"},
    {T::RemoteFound, "SONY BD-Controller >>デバイス登録が確認されました。"},
    {T::InputRefused, "操作対象プロセスへの操作権限がありません。処理は無効となります。"},
    {T::HookStartFailed, "フック開始は失敗しました"},
    {T::MouseHookRemoveFailed, "マウスフック解除は失敗しました"},
    {T::KeyHookRemoveFailed, "キーフック解除は失敗しました"},
    {T::HelpMissingBefore, "ヘルプファイル "},
    {T::HelpMissingAfter, " が見つかりません。\n探した場所:"},
    {T::AlreadyRunning, "すでにCorvid稼動中です。ﾀｽｸﾊﾞｰを確認して下さい。"},
    {T::WindowsUnavailable, "Corvidのウィンドウを作成できませんでした。Corvidを終了します。"},
    {T::MenuKeyMap, "基本キーマップ割付設定(&K)"},
    {T::MenuEnvironment, "動作環境設定(&G)"},
    {T::MenuMonitor, "送出コードモニタ表示(&M)"},
    {T::MenuLaunchPrograms, "起動プログラム設定(&E)"},
    {T::MenuHelpBefore, "設定操作説明 Ver."},
    {T::MenuHelpAfter, " (&H)"},
    {T::MenuQuit, "常駐解除(&Q)"},
    {T::TrayRemoteConnected, "リモコン接続中"},
    {T::TrayRemoteMissing, "リモコン未接続"},
};

}  // namespace

TextTable JapaneseTexts() { return {kRows, sizeof kRows / sizeof kRows[0]}; }

}  // namespace corvid

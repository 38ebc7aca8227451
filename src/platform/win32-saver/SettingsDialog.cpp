#include "platform/win32-saver/SettingsDialog.h"

#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32-saver/DialogChoices.h"
#include "platform/win32-saver/RegistryStore.h"
#include "platform/win32-saver/ScrFiles.h"
#include "platform/win32-saver/ScrLoader.h"
#include "platform/win32-saver/ScrResources.h"

namespace zirvo::scr {

namespace {

struct DialogState {
  std::string saverPath;
  std::vector<std::string> samples;
  Choices<std::string> scenes;
  Choices<std::uint32_t> speeds;
};

void FillList(HWND dialog, int id, const std::vector<std::string>& labels, std::size_t selected) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& label : labels)
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
  SendMessageA(list, CB_SETCURSEL, selected, 0);
}

// The entry chosen in a list, or `current` when none is.
std::size_t Selection(HWND dialog, int id, std::size_t current) {
  const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? current : static_cast<std::size_t>(index);
}

// Which settings file the chosen scene will be shown with, or what is missing.
void ShowWhere(HWND dialog, const DialogState& state) {
  const std::string& chosen = state.scenes.values[state.scenes.selected];
  std::string text;
  if (chosen.empty() && state.samples.empty()) {
    text = "There are no sample scenes (*.zrv) beside zirvo.scr: choose a scene file.";
  } else {
    const std::string scene = chosen.empty() ? state.samples.front() : chosen;
    const ScrLoader loader(state.saverPath, CurrentFolder(), &IsExistingFile);
    const std::string settings = loader.SettingsPathFor(scene);
    text = IsExistingFile(settings) ? "Settings file: " + settings
                                    : "Missing: " + settings + " (the scene will not show)";
  }
  SetDlgItemTextA(dialog, IDC_WHERE, text.c_str());
}

std::optional<std::string> AskForScene(HWND dialog, const std::string& startFolder) {
  // As long as the longest path Windows has; the dialog needs a buffer.
  std::vector<char> file(kLongestPath + 1, '\0');
  OPENFILENAMEA ask{};
  ask.lStructSize = sizeof ask;
  ask.hwndOwner = dialog;
  ask.lpstrFilter = "Zirvo scenes (*.zrv)\0*.zrv\0All files (*.*)\0*.*\0";
  ask.lpstrFile = file.data();
  ask.nMaxFile = static_cast<DWORD>(file.size());
  ask.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  ask.lpstrTitle = "Choose a scene";
  ask.lpstrDefExt = "zrv";
  ask.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (GetOpenFileNameA(&ask) == 0)
    return std::nullopt;
  return std::string(file.data());
}

void Store(HWND dialog, const DialogState& state) {
  ScrSettings settings;
  settings.scene = state.scenes.values[state.scenes.selected];
  settings.speedPercent = state.speeds.values[state.speeds.selected];
  RegistryStore store;
  if (!WriteScrSettings(store, settings)) {
    MessageBoxA(dialog, "The settings could not be stored in the registry.", "Zirvo",
                MB_OK | MB_ICONWARNING);
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    const auto& state = *reinterpret_cast<DialogState*>(lParam);
    FillList(dialog, IDC_SCENE, state.scenes.labels, state.scenes.selected);
    FillList(dialog, IDC_SPEED, state.speeds.labels, state.speeds.selected);
    ShowWhere(dialog, state);
    return TRUE;  // the focus on the first control, the scene list
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (state == nullptr || message != WM_COMMAND)
    return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_SCENE:
      if (HIWORD(wParam) == CBN_SELCHANGE) {
        state->scenes.selected = Selection(dialog, IDC_SCENE, state->scenes.selected);
        ShowWhere(dialog, *state);
      }
      return TRUE;
    case IDC_SPEED:
      if (HIWORD(wParam) == CBN_SELCHANGE)
        state->speeds.selected = Selection(dialog, IDC_SPEED, state->speeds.selected);
      return TRUE;
    case IDC_BROWSE: {
      const std::string& current = state->scenes.values[state->scenes.selected];
      const std::string start = FolderOf(current.empty() ? state->saverPath : current);
      if (const auto chosen = AskForScene(dialog, start)) {
        ChooseScene(state->scenes, *chosen);
        FillList(dialog, IDC_SCENE, state->scenes.labels, state->scenes.selected);
        ShowWhere(dialog, *state);
      }
      return TRUE;
    }
    case IDOK:
      Store(dialog, *state);
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunSettingsDialog(HINSTANCE instance, HWND owner) {
  RegistryStore store;
  const ScrSettings settings = ReadScrSettings(store);
  DialogState state;
  state.saverPath = SaverPath();
  state.samples = SampleScenesIn(FolderOf(state.saverPath));
  state.scenes = SceneChoices(settings.scene, state.samples);
  state.speeds = SpeedChoices(settings.speedPercent);
  if (owner != nullptr && IsWindow(owner) == 0)
    owner = nullptr;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, &DialogProc,
                  reinterpret_cast<LPARAM>(&state));
  return 0;
}

}  // namespace zirvo::scr

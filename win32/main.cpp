// The program's entry: the objects of the keyboard, its three windows and their hosts,
// wired together and handed to the Shell.
#include <windows.h>

#include "input/key_activation.h"
#include "input/key_repeat.h"
#include "input/scan.h"
#include "input/stroke_player.h"
#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "prediction/word_predictor.h"
#include "shell/shell.h"
#include "shell/tray.h"
#include "ui/frame.h"
#include "ui/keyboard_window.h"
#include "win32/frame_window.h"
#include "win32/gdi_canvas.h"
#include "win32/hidden_window.h"
#include "win32/input_hooks.h"
#include "win32/key_output.h"
#include "win32/keyboard_window.h"
#include "win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tessary;
  Settings settings;
  // Lives until the process ends: a one-shot timer of the image detection may still post
  // through it after WinMain has returned.
  static win32::Win32KeyboardWindow keyboardWindow(instance);
  win32::Win32FrameWindow frameWindow(instance, keyboardWindow);
  win32::Win32HiddenWindow hiddenWindow(instance);
  win32::Win32ShellHost host(hiddenWindow, frameWindow);
  win32::Win32InputModeHooks hooks(instance, keyboardWindow);
  win32::Win32MessageBoxes messages;
  win32::Win32FileSystem files;
  win32::ResourceTexts texts;
  win32::Win32KeyLayout keyLayout;
  win32::Win32KeyOutput keyOutput;
  // Lives until WinMain returns: its end releases every modifier it may hold down.
  Keyboard keyboard(keyOutput, keyLayout);
  LayoutEnvironment layouts{files, texts, messages, settings, {}};
  StrokePlayer strokes(keyOutput, keyLayout);
  keyOutput.Attach(&strokes);
  win32::Cp949Codec codec;
  WordPredictor predictor(codec);
  KeyActivator activator(keyboard, strokes, predictor, layouts);
  const auto activate = [&activator](int index) {
    activator.ActivateKey(reinterpret_cast<WindowId>(keyboardWindow.handle()), index);
  };
  win32::Win32KeyboardHost keyboardHost(keyboardWindow);
  KeyRepeat repeat(keyboardHost, keyboard, activate);
  KeyDrawing drawing(keyboard, settings);
  PointerInput pointer(keyboardHost, keyboard, drawing, settings, repeat, activate);
  win32::Win32ScanTimer scanTimer;
  ScanController scan(keyboardHost, keyboard, drawing, settings, scanTimer,
                      [&activator](WindowId window, int index) { activator.ActivateKey(window, index); });
  KeyboardWindow keyboardController(keyboardHost, keyboard, layouts, settings, drawing, pointer, &scan);
  keyboardController.activator = &activator;
  win32::Win32FrameHost frameHost(frameWindow, hiddenWindow);
  win32::GdiGlyphPainter glyphs;
  GlyphButton languageButton(glyphs), hideButton(glyphs);
  win32::Win32FocusHost focusHost;
  FocusKeeper focus(focusHost);
  Frame frame(frameHost, settings, languageButton, hideButton, &focus);
  activator.SetCompositionMark(&frame);
  frame.FollowKeys(&keyboard);
  keyboardController.onKeysChanged = [&frame] { frame.OnKeysChanged(); };
  InputModeContext modes{settings, hooks, messages, &scan, [&frame] { frame.StopTransparency(); }, 0};
  win32::Win32TrayUi trayUi(hiddenWindow, frameWindow);
  Tray tray(settings, files, trayUi, modes, &frame, &focus);
  // Should anything end the process through exit(), the keyboard still releases what it
  // holds down.
  ModifierReleaseAtExit releaseAtExit(keyboard);
  tray.onWordLearning = [&predictor](bool on) { predictor.setLearning(on); };
  tray.onForgetWords = [&predictor, &files] { predictor.forgetLearnedWords(files); };
  Shell shell(settings, ShellServices{host, hooks, messages, files, texts,
                                      [&predictor, &files, &settings] {
                                        predictor.loadLearnedWords(files);
                                        predictor.setLearning(settings.useWordLearning);
                                        return predictor.loadDictionaries(files);
                                      },
                                      [&predictor, &files] { predictor.saveLearnedWords(files); }});
  keyboardWindow.Connect({keyboardController, pointer, scan, repeat, modes, scanTimer});
  frameWindow.Connect({frame, keyboardController, shell, settings});
  hiddenWindow.Connect({shell, tray});
  return shell.Run();
}

#pragma once
// A keyboard with fakes for everything around it, for the tests and benchmarks of the
// model, the loader and activation.
#include <fstream>
#include <sstream>
#include <string>

#include "config/settings.h"
#include "fakes.h"
#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "posix/iconv_codec.h"
#include "posix/us_layout.h"

namespace tessary::testing {

struct KeyboardRig {
  FakeFileSystem files;
  TestTextResources texts;
  RecordingMessageBoxes messages;
  Settings settings;
  LayoutEnvironment env{files, texts, messages, settings, {}};
  FakeKeyOutput output;
  UsEnglishLayout layout;
  Keyboard kb{output, layout};

#ifdef TESSARY_SOURCE_DIR
  // Puts the layout set `name` of the source tree's 키보드 folder where the keyboard
  // looks for it, in CP949 as the keyboard reads it, and loads it in `language`; false
  // when a file is missing or the set did not load. The names are CP949, as the
  // program's literals are; the tree's paths are UTF-8.
  bool LoadSetFromTree(const std::string& name, int32_t language) {
    const IconvCodec codec;
    const std::string folder = files.currentDirectory + "\\" + kLayoutFolderName + "\\" + name;
    const std::string tree = std::string(TESSARY_SOURCE_DIR) + "/" +
                             Cp949ToUtf8(codec, std::string(kLayoutFolderName) + "/" + name) + "/";
    for (const std::string file : {"korean.kdf", "english.kdf"}) {
      std::ifstream in(tree + file, std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      if (text.str().empty()) return false;
      files.directories[folder].push_back({file, false});
      files.files[folder + "\\" + file] = Utf8ToCp949(codec, text.str());
    }
    ReloadLayout(kb, env, name, language);
    return messages.shown.empty();
  }
#endif
};

}  // namespace tessary::testing

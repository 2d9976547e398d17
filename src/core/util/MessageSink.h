// How the core talks to the user without showing anything itself: the GUI
// implements this with modal message boxes, the command-line tools print.
#pragma once

#include <string>

namespace vorlane {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows one message and returns the user's answer (Ok for an Ok-only box).
  virtual MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons) = 0;
};

}  // namespace vorlane

// Helpers of the forms tests: a scratch directory with tiny fonts and sprites, a recording
// event handler, and a manager drawing into the frame buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/core.h"
#include "gfx2d/gfx2d_test_util.h"
#include "gui/gui.h"
#include "support/test_support.h"

// One event as the handler saw it.
struct RecordedEvent {
  int32_t code;
  int32_t value;
  void* object;
  std::string name;
};

// What the recording handler saw, in order.
extern std::vector<RecordedEvent> Recorded;
// Extra work for the handler, run after recording (tests that close or open forms).
extern void (*OnEvent)(FormManager* manager, const RecordedEvent& event);
void RecordEvent(FormManager* manager, int32_t code, int32_t value, void* object, const char* name);

// Colours of the test sprites as they load into memory.
constexpr uint16_t kNormalColour = MakeColour(0, 0, 20);
constexpr uint16_t kHighlightColour = MakeColour(31, 20, 0);
constexpr uint16_t kCheckedColour = MakeColour(0, 31, 0);
constexpr uint16_t kFocusColour = MakeColour(31, 0, 31);

class FormsFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes kvr.rsx, opens the form; the result of OpenForm.
  bool Open(const std::string& script, const std::string& form = "F");
  std::vector<std::string> LogLines() const;
  void ClearLog() const;
  // Index of a control in the current form, -1 when absent.
  int32_t IndexOf(const std::string& name) const;
  template <typename T>
  T* Control(const std::string& name) const {
    return static_cast<T*>(FindCurrentControl(m, name.c_str()));
  }
  // One logic step with the given menu actions pressed (current 1, previous 0).
  void Step(std::initializer_list<int> pressed = {});
  // Stylus edges at a point, each taking one step.
  void TapDown(int32_t x, int32_t y);
  void TapUp(int32_t x, int32_t y);
  uint16_t Px(int x, int y) const { return FrameBuffer[y * 240 + x]; }

  ScratchDir dir;
  std::unique_ptr<Graphics2D> g;
  FormManager* m = nullptr;
};

// The in-game choice box ("Go to menu?"): the question over the dimmed, frozen game, up to
// three answers chosen with the menu keys or the stylus.
#include <cstring>

#include "app/app.h"
#include "core/core.h"

namespace {

void CopyText(char* to, size_t bytes, const char* from) {
  strncpy(to, from ? from : "", bytes - 1);
  to[bytes - 1] = 0;
}

bool StylusReleased() { return Input.stylusUp == 1 && Input.stylusPrevUp == 0; }

}  // namespace

void PlaceAnswers(const Graphics2D& g2d, const Font& font, int32_t count,
                  const char* const answers[3], AnswerRect rects[3]) {
  const int32_t height = font.FontHeight();
  for (int32_t i = 0; i < 3; ++i) {
    rects[i] = {0, 0, font.MeasureText(answers[i] ? answers[i] : ""), height};
  }
  if (count == 1) {
    rects[0].x = g2d.ScaleX(512) - rects[0].width;
    rects[0].y = g2d.ScaleY(720) - height;
  } else if (count == 2) {
    rects[0].x = g2d.ScaleX(225) - rects[0].width;
    rects[1].x = g2d.ScaleX(850) - rects[1].width;
    rects[0].y = rects[1].y = g2d.ScaleY(720) - height;
  } else if (count == 3) {
    // Each centred on its point: two side by side, the third below between them.
    const int32_t cx[3] = {g2d.ScaleX(200), g2d.ScaleX(850), g2d.ScaleX(512)};
    const int32_t cy[3] = {g2d.ScaleY(680), g2d.ScaleY(680), g2d.ScaleY(900)};
    for (int32_t i = 0; i < 3; ++i) {
      rects[i].x = cx[i] - rects[i].width / 2;
      rects[i].y = cy[i] - height / 2;
    }
  }
}

bool GameDriver::ShowChoice(const char* question, int32_t count, int32_t first,
                            const char* answer1, const char* answer2, const char* answer3) {
  if (forms) SetThrottledRedraw(forms, 0);
  if (first > count || first < 1 || count > 3) return false;
  CopyText(choiceText, sizeof choiceText, question);
  CopyText(answers[0], sizeof answers[0], answer1);
  CopyText(answers[1], sizeof answers[1], answer2);
  CopyText(answers[2], sizeof answers[2], answer3);
  if (g2d && font) {
    const char* const texts[3] = {answers[0], answers[1], answers[2]};
    PlaceAnswers(*g2d, *font, count, texts, answerRects);
  }
  screenState = kScreenChoice;
  answerCount = count;
  selected = first;
  return true;
}

void GameDriver::ChoiceInput() {
  if (ActionPressed(kActMenuRight) && selected < answerCount) ++selected;
  if (ActionPressed(kActMenuLeft) && selected > 1) --selected;
  if (ActionPressed(kActMenuDown) && answerCount == 3) selected = 3;
  if (ActionPressed(kActMenuUp)) selected = 1;
  if (ActionPressed(kActMenuSelect)) {
    screenState = kScreenChoiceAnswered;
    fadeLevel = kChoiceDimLevel;
  }
  if (!StylusReleased()) return;
  for (int32_t i = 0; i < answerCount; ++i) {
    const AnswerRect& r = answerRects[i];
    if (!StylusHit(r.x, r.y, r.width, r.height)) continue;
    selected = i + 1;
    screenState = kScreenChoiceAnswered;
    fadeLevel = kChoiceDimLevel;
    fadeOut = 1;
    return;
  }
}

void GameDriver::AnswerChoice() {
  if (world.cameraMode == kCameraFirstPerson && forms) SetThrottledRedraw(forms, 1);
  world.closingTimer = 0;
  // "Yes" starts the closing pause, after which the world returns to the main menu; "No"
  // plays on. A question of any other text is only ever closed: play goes on.
  if (strcmp(choiceText, "Go to menu?") == 0 && selected == 1) world.worldState = kWorldClosing;
  screenState = kScreenPlaying;
  fadeOut = 0;
  fadeLevel = kFullBrightness;
  fadeReset = 0;
}

void GameDriver::DrawChoice() {
  if (!g2d) return;
  // The frozen game dims step by step down to level 14.
  if (fadeLevel > kChoiceDimLevel) --fadeLevel;
  g2d->FadeScreen(fadeLevel, fadeLevel, fadeLevel);
  if (!font) return;
  DrawTextBlock(g2d, choiceText, font);
  for (int32_t i = 0; i < answerCount; ++i)
    font->DrawText(answerRects[i].x, answerRects[i].y, answers[i], g2d->pixels, g2d->width,
                   g2d->height, 1);
  if (selected >= 1 && selected <= answerCount) {
    const AnswerRect& r = answerRects[selected - 1];
    g2d->DrawRect(r.x - 6, r.y - 6, r.width + 12, r.height + 12, MakeColour(31, 31, 31));
  }
}

// Form1 in FLTK: the artwork, the licence agreement, the two labels and the Install button.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_ask.H>

#include <cstdio>

#include "installer/desktop.h"
#include "installer/form1.h"

namespace {

void ShowFltkMessage(const std::string& text) {
  fl_close = "OK";
  fl_message_title("setup");
  fl_message("%s", text.c_str());
}

void Command1Callback(Fl_Widget*, void*) { Command1Click(); }

// The form closes with its close box only, not with Escape as toolkit windows do.
void Form1Callback(Fl_Widget* w, void*) {
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  w->hide();
}

std::string BesideProgram(const char* name) { return MediumDir() + "/" + name; }

std::string LicenseText() {
  std::string bytes;
  if (!ReadWholeFile(BesideProgram(kLicenseFile), &bytes)) {
    fprintf(stderr, "setup: cannot read %s\n", BesideProgram(kLicenseFile).c_str());
    return "";
  }
  std::string text;
  for (char c : DecodeText(bytes))
    if (c != '\r' && c != '\0') text += c;
  return text;
}

Fl_Box* MakeLabel(const Form1Rect& r, const std::string& text, Fl_Font font) {
  auto* box = new Fl_Box(r.x, r.y, r.w, r.h);
  box->copy_label(PlainLabelText(text).c_str());
  box->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  box->labelfont(font);
  box->labelsize(14);
  return box;
}

}  // namespace

int RunForm1() {
  SetMessageBoxHandler(ShowFltkMessage);

  auto* form1 = new Fl_Double_Window(kForm1Width, kForm1Height, kForm1Title);
  form1->callback(Form1Callback);

  auto* picture1 = new Fl_Box(kPicture1.x, kPicture1.y, kPicture1.w, kPicture1.h);
  picture1->box(FL_DOWN_FRAME);
  auto* artwork = new Fl_PNG_Image(BesideProgram(kArtworkFile).c_str());
  if (artwork->fail())
    fprintf(stderr, "setup: cannot read %s\n", BesideProgram(kArtworkFile).c_str());
  else
    picture1->image(artwork);

  MakeLabel(kLabel1, kLabel1Text, FL_HELVETICA);

  auto* buffer = new Fl_Text_Buffer();
  buffer->text(LicenseText().c_str());
  auto* text1 = new Fl_Text_Display(kText1.x, kText1.y, kText1.w, kText1.h);
  text1->buffer(buffer);
  text1->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);
  text1->textfont(FL_HELVETICA);
  text1->textsize(13);
  text1->scrollbar_align(FL_ALIGN_RIGHT);

  // Start-up: the caption comes from the package description beside setup.
  MakeLabel(kLabelInfo, LabelInfoCaption(), FL_HELVETICA_BOLD);

  auto* command1 = new Fl_Button(kCommand1.x, kCommand1.y, kCommand1.w, kCommand1.h, "Install");
  command1->callback(Command1Callback);

  form1->end();
  form1->show();
  return Fl::run();
}

#pragma once
// The About box: the plug-in's name and picture, the project's web page as
// a link, and the list of its commands.

#include <functional>
#include <string>

#include "controls/ZorvexHelpBox2.h"
#include "controls/ZorvexPanel.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"

// The project's web page until it has a domain of its own.
inline constexpr const char* kHomePageAddress = "https://www.example.com/vktQuantaro/";

class TAboutBoxForm : public TForm {
public:
  TAboutBoxForm();

  TButton* OKBtn;
  TImage* Image1;
  TLabel* Label1;
  TZorvexHelpBox2* ZorvexHelpBox1;
  TLabel* Label2;
  TZorvexPanel* ZorvexPanel1;
  TMemo* Memo1;

  void Label2MouseMove(TControl& sender, TShiftState shift, int x, int y);
  void FormMouseMove(TControl& sender, TShiftState shift, int x, int y);
  void Label2Click(TControl& sender);
  void ZorvexHelpBox1MouseMove(TControl& sender, TShiftState shift, int x, int y);

private:
  // The link's colour, and the pointing hand over it while it is hot.
  void ShowLink(TColor color, bool hand);
};

// How the link opens its address: the shell's verb, the owner window, the
// address and the show command. Tests replace it so that no browser starts.
using TShellOpen = std::function<void(void* owner, const std::string& verb, const std::string& file, int show)>;
extern TShellOpen AboutShellOpen;

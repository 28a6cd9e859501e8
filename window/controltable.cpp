// The main window's controls as one table: parents before their children, and within one
// parent in creation (stacking) order. TForm1 builds the widgets from it in a loop.
#include "window/controltable.h"

#include <iterator>

#include "window/helptexts.h"
#include "window/tform1.h"

namespace tolvaro {
namespace {

constexpr const char* kMsSans = "MS Sans Serif";

// The window's own font, the default of every control.
constexpr FontSpec kWindowFont{kMsSans, 13, Bold, Color::clBlack};
// The settings group's font, used by its labels.
constexpr FontSpec kGroupFont{kMsSans, 13, Bold, Color::clWhite};
// Column header and row numbers of the exercise panel, captions of the score panel.
constexpr FontSpec kNavyCaptionFont{kMsSans, 13, Bold | Italic, Color::clNavy};
constexpr FontSpec kRowNumberFont = kNavyCaptionFont;
// The exercise rows.
constexpr FontSpec kArial16BoldItalic{"Arial", 16, Bold | Italic, Color::clBlack};
constexpr FontSpec kArial13BoldItalic{"Arial", 13, Bold | Italic, Color::clBlack};
// The about panel's font, used by its long text.
constexpr FontSpec kInfoFont{kMsSans, 16, Regular, Color::clYellow};

// The row of an answer edit, from 1.
int RowNumber(Control control) {
    return (static_cast<int>(control) - static_cast<int>(Control::Oef1Grondtal)) % kRows + 1;
}

// The settings edits remember their text on entering as a click does (Practice::SettingEntered).
constexpr Handlers kMaxGrondtalHandlers{
    .click = [](TForm1& f, Control) { f.practice().MaxGrondtalClick(); },
    .enter = [](TForm1& f, Control c) { f.practice().SettingEntered(c); f.practice().MaxGrondtalEnter(); },
    .exit = [](TForm1& f, Control) { f.practice().MaxGrondtalExit(); },
    .enterKey = [](TForm1& f, Control) { f.practice().MaxGrondtalKeyPress(13); }};
constexpr Handlers kMaxExponentHandlers{
    .click = [](TForm1& f, Control) { f.practice().MaxExponentClick(); },
    .enter = [](TForm1& f, Control c) { f.practice().SettingEntered(c); f.practice().MaxGrondtalEnter(); },
    .exit = [](TForm1& f, Control) { f.practice().MaxExponentExit(); },
    .enterKey = [](TForm1& f, Control) { f.practice().MaxExponentKeyPress(13); }};
constexpr Handlers kTimerMinutenHandlers{
    .click = [](TForm1& f, Control) { f.practice().TimerMinutenClick(); },
    .enter = [](TForm1& f, Control c) { f.practice().SettingEntered(c); f.practice().TimerMinutenEnter(); },
    .exit = [](TForm1& f, Control) { f.practice().TimerMinutenExit(); },
    .enterKey = [](TForm1& f, Control) { f.practice().TimerMinutenKeyPress(13); }};
// The ten answer edits (Oef1ResultMouseMove's help text is in each row).
constexpr Handlers kResultHandlers{
    .click = [](TForm1& f, Control c) { f.practice().ResultClick(RowNumber(c)); },
    .enter = [](TForm1& f, Control) { f.practice().MaxGrondtalEnter(); },
    .exit = [](TForm1& f, Control c) { f.practice().ResultExit(RowNumber(c)); },
    .enterKey = [](TForm1& f, Control c) { f.practice().ResultKeyPress(RowNumber(c), 13); }};

constexpr const char* kAnswerPlaceholder = "0000000000000000000000000";  // 25 zeros

constexpr ControlSpec kControls[] = {
    // ---- Direct children of the window. Its labels and images come first: they are painted on
    // the window's own surface, beneath every windowed control.
    {.name = "Label36", .kind = Kind::Label, .x = 152, .y = 109, .width = 100, .height = 16,
     .text = "Oefening nr. : :", .font = kWindowFont, .flags = AutoSize | Opaque},
    {.control = Control::Reeksteller, .kind = Kind::Label, .x = 256, .y = 105, .width = 12, .height = 24,
     .text = "1", .font = {kMsSans, 19, Bold, Color::clBlack}, .background = Color::clYellow, .flags = AutoSize | Opaque,
     .tooltip = "Dit is het nummer van de oefening in een reeks oefeningen.",
     .help = help::kReeksteller.data()},
    {.control = Control::Image4, .kind = Kind::Image, .x = 26, .y = 104, .width = 57, .height = 25,
     .text = "", .font = {}, .tooltip = "Stop het programma.", .cursor = Cursor::Arrow, .picture = ":/art/stop.svg",
     .stretch = true,
     .accessibleName = "Stop het programma", .help = help::kImage4.data(), .key = Qt::CTRL | Qt::Key_Q,
     .handlers = {.click = [](TForm1& f, Control) { f.Image4Click(); }}},
    {.control = Control::KlokVenster, .kind = Kind::Label, .x = 416, .y = 106, .width = 87, .height = 24,
     .text = "", .font = {kMsSans, 19, Bold, Color::clRed}, .background = Color::BtnText,
     .flags = Hidden | AlignCenter | Opaque, .cursor = Cursor::No, .key = Qt::CTRL | Qt::Key_K},
    // Windowed controls, each above the earlier ones.
    {.control = Control::Instellingen, .kind = Kind::GroupBox, .x = 24, .y = 9, .width = 761, .height = 89,
     .text = "Instellingen", .font = kGroupFont, .background = Color::clTeal, .flags = NoTooltips, .tabOrder = 0,
     .cursor = Cursor::NoDrop,
     .accessibleName = "Instellingen", .help = ""},
    {.control = Control::VolgendeOefening, .kind = Kind::Button, .x = 68, .y = 456, .width = 262, .height = 24,
     .text = "VOLGENDE OEFENING", .font = {"Arial", 16, Bold, Color::clMaroon}, .tabOrder = 4,
     .tooltip = "Klik hier voor de volgende oefening in de reeks.", .cursor = Cursor::Arrow,
     .help = help::kVolgendeOefening.data(), .key = Qt::CTRL | Qt::Key_N,
     .handlers = {.click = [](TForm1& f, Control) { f.practice().VolgendeOefeningClick(); }}},
    {.control = Control::Panel1, .kind = Kind::Panel, .x = 24, .y = 134, .width = 569, .height = 314,
     .text = "", .font = kArial13BoldItalic, .background = Color::ActiveBorder, .flags = NoTooltips, .tabOrder = 1,
     .cursor = Cursor::NoDrop, .bevelInner = Bevel::Raised, .bevelOuter = Bevel::None, .bevelWidth = 5,
     .borderLine = true,
     .accessibleName = "Oefeningen", .help = ""},
    {.control = Control::Kontroleer, .kind = Kind::Button, .x = 397, .y = 455, .width = 136, .height = 23,
     .text = "CONTROLEER", .font = {"@Arial Unicode MS", 16, Bold, Color::clPurple}, .tabOrder = 3,
     .tooltip = "Controleer uw oefening op fouten.", .cursor = Cursor::Arrow,
     .help = help::kKontroleer.data(), .key = Qt::CTRL | Qt::Key_Return,
     .handlers = {.click = [](TForm1& f, Control) { f.practice().KontroleerClick(); }}},
    {.control = Control::Panel2, .kind = Kind::Panel, .x = 608, .y = 134, .width = 177, .height = 313,
     .text = "", .font = kWindowFont, .background = Color::InactiveCaption, .flags = NoTooltips, .tabOrder = 2,
     .cursor = Cursor::NoDrop, .bevelInner = Bevel::Lowered, .bevelOuter = Bevel::Raised, .bevelWidth = 5,
     .borderWidth = 5, .borderLine = true,
     .accessibleName = "Punten", .help = ""},
    {.control = Control::Help, .kind = Kind::RichText, .x = 16, .y = 496, .width = 769, .height = 139,
     .text = "", .font = kWindowFont, .background = Color::clGray, .flags = ReadOnly, .tabOrder = 5,
     .tooltip = "Context-gevoelig help-menu.", .cursor = Cursor::NoDrop, .flatFrame = true,
     .accessibleName = "Uitleg"},
    {.control = Control::RichEdit1, .kind = Kind::RichText, .x = -8, .y = 176, .width = 33, .height = 25,
     .text = "", .font = {"Times New Roman", 16, Regular, Color::clBlack}, .flags = Hidden, .tabOrder = 6,
     .accessibleName = "Werkblad"},
    {.control = Control::Startknop, .kind = Kind::Button, .x = 431, .y = 107, .width = 62, .height = 22,
     .text = "START", .font = {kMsSans, 13, Bold, Color::clGreen}, .flags = Hidden, .tabOrder = 7,
     .key = Qt::CTRL | Qt::Key_T,
     .handlers = {.click = [](TForm1& f, Control) { f.contest().StartknopClick(); }}},
    {.control = Control::OKKnop1, .kind = Kind::Button, .x = 350, .y = 107, .width = 62, .height = 23,
     .text = "RESET", .font = {kMsSans, 13, Bold | Italic, Color::clGreen}, .flags = Hidden | CancelButton, .tabOrder = 8,
     .handlers = {.click = [](TForm1& f, Control) { f.contest().OKKnop1Click(); }}},
    {.control = Control::Panel3, .kind = Kind::Panel, .x = 24, .y = 136, .width = 761, .height = 313,
     .text = "", .font = kWindowFont, .background = Color::Background, .flags = Hidden | NoTooltips, .tabOrder = 9,
     .cursor = Cursor::No, .bevelInner = Bevel::Lowered, .bevelOuter = Bevel::Raised, .bevelWidth = 3,
     .borderWidth = 3, .borderLine = false,
     .accessibleName = "Uitslag"},
    {.control = Control::Info, .kind = Kind::Panel, .x = 172, .y = 33, .width = 585, .height = 280,
     .text = "", .font = kInfoFont, .background = Color::clBlue, .flags = Hidden | NoTooltips, .tabOrder = 10,
     .bevelInner = Bevel::None, .bevelOuter = Bevel::Raised, .bevelWidth = 3, .borderWidth = 5,
     .borderLine = true,
     .accessibleName = "Over het programma"},

    // ---- Settings group Instellingen.
    {.name = "Label1", .kind = Kind::Label, .parent = Control::Instellingen, .x = 19, .y = 16, .width = 236, .height = 16,
     .text = "Maximum grondtal  (max=999999) :", .font = kGroupFont, .flags = AutoSize | Opaque},
    {.name = "Label3", .kind = Kind::Label, .parent = Control::Instellingen, .x = 45, .y = 40, .width = 210, .height = 16,
     .text = "Maximum exponent (max=99)  :", .font = kGroupFont, .flags = AutoSize | Opaque},
    {.name = "Label4", .kind = Kind::Label, .parent = Control::Instellingen, .x = 138, .y = 64, .width = 116, .height = 16,
     .text = "Timer (minuten) :", .font = kGroupFont, .flags = AutoSize | Opaque},
    {.control = Control::MaxGrondtal, .kind = Kind::Edit, .parent = Control::Instellingen, .x = 263, .y = 16, .width = 57, .height = 17,
     .text = "5", .font = kWindowFont, .tabOrder = 0, .tooltip = "Enter het grootste te  gebruiken grondtal.",
     .cursor = Cursor::Arrow, .maxLength = 6,
     .accessibleName = "Grootste grondtal", .help = help::kMaxGrondtal.data(), .key = Qt::ALT | Qt::Key_G,
     .handlers = kMaxGrondtalHandlers},
    {.control = Control::MaxExponent, .kind = Kind::Edit, .parent = Control::Instellingen, .x = 262, .y = 40, .width = 58, .height = 17,
     .text = "2", .font = kWindowFont, .tabOrder = 1, .tooltip = "Enter hier het grootste te gebruiken exponent.",
     .cursor = Cursor::Arrow, .maxLength = 2,
     .accessibleName = "Grootste exponent", .help = help::kMaxExponent.data(), .key = Qt::ALT | Qt::Key_E,
     .handlers = kMaxExponentHandlers},
    {.control = Control::TimerMinuten, .kind = Kind::Edit, .parent = Control::Instellingen, .x = 261, .y = 64, .width = 59, .height = 17,
     .text = "0", .font = kWindowFont, .tabOrder = 2,
     .tooltip = "Indien de timer moet gebruikt worden, hier het aantal minuten invullen.",
     .cursor = Cursor::Arrow, .maxLength = 3,
     .accessibleName = "Timer in minuten", .help = help::kTimerMinuten.data(), .key = Qt::ALT | Qt::Key_M,
     .handlers = kTimerMinutenHandlers},
    {.control = Control::Image3, .kind = Kind::Image, .parent = Control::Instellingen, .x = 618, .y = 30, .width = 37, .height = 36,
     .text = "", .font = {}, .tooltip = "Aanmaken en printen van een schriftelijke opgave.", .cursor = Cursor::Arrow,
     .picture = ":/art/printer.svg",
     .accessibleName = "Printen", .help = help::kImage3.data(), .key = Qt::CTRL | Qt::Key_P,
     .handlers = {.click = [](TForm1& f, Control) { f.Image3Click(); }}},
    {.control = Control::Image1, .kind = Kind::Image, .parent = Control::Instellingen, .x = 687, .y = 32, .width = 35, .height = 33,
     .text = "", .font = {}, .tooltip = "Info over het Programma.", .cursor = Cursor::Arrow,
     .picture = ":/art/icon.svg",
     .accessibleName = "Info", .key = Qt::Key_F1,
     .handlers = {.click = [](TForm1& f, Control) { f.Image1Click(); }}},

    // ---- Exercise panel Panel1: the column header, then ten rows of six controls each.
    {.name = "Label38", .kind = Kind::Label, .parent = Control::Panel1, .x = 14, .y = 7, .width = 507, .height = 16,
     .text = "Nr.      Grondtal + Exponent                           Macht                                  Test",
     .font = kNavyCaptionFont, .flags = AutoSize | Opaque},
    // Row 1
    {.name = "Label15", .kind = Kind::Label, .parent = Control::Panel1, .x = 12, .y = 36, .width = 21, .height = 16,
     .text = "1)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef1Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 36, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef1Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 27, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label7", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 36, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef1Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 34, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus | KeepSelection,
     .tabOrder = 0, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 1", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef1Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 36, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 2
    {.name = "Label16", .kind = Kind::Label, .parent = Control::Panel1, .x = 12, .y = 63, .width = 21, .height = 16,
     .text = "2)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef2Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 63, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef2Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 54, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label11", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 63, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef2Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 61, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 1, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 2", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef2Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 64, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 3
    {.name = "Label20", .kind = Kind::Label, .parent = Control::Panel1, .x = 12, .y = 91, .width = 21, .height = 16,
     .text = "3)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef3Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 90, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef3Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 81, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label39", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 90, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef3Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 88, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 2, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 3", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef3Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 91, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 4
    {.name = "Label21", .kind = Kind::Label, .parent = Control::Panel1, .x = 12, .y = 117, .width = 21, .height = 16,
     .text = "4)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef4Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 117, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef4Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 108, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label17", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 117, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef4Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 115, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 3, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 4", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef4Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 117, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 5
    {.name = "Label22", .kind = Kind::Label, .parent = Control::Panel1, .x = 11, .y = 144, .width = 21, .height = 16,
     .text = "5)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef5Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 144, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef5Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 135, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label18", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 144, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef5Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 142, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 4, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 5", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef5Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 143, .width = 68, .height = 18,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 6
    {.name = "Label23", .kind = Kind::Label, .parent = Control::Panel1, .x = 11, .y = 171, .width = 21, .height = 16,
     .text = "6)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef6Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 171, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef6Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 162, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label19", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 171, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef6Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 169, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 5, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 6", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef6Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 172, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 7
    {.name = "Label28", .kind = Kind::Label, .parent = Control::Panel1, .x = 11, .y = 198, .width = 21, .height = 16,
     .text = "7)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef7Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 198, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef7Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 189, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label32", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 198, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef7Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 196, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 6, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 7", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef7Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 198, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 8
    {.name = "Label29", .kind = Kind::Label, .parent = Control::Panel1, .x = 11, .y = 225, .width = 21, .height = 16,
     .text = "8)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef8Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 225, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef8Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 216, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label33", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 225, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef8Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 223, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 7, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 8", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef8Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 225, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 9
    {.name = "Label30", .kind = Kind::Label, .parent = Control::Panel1, .x = 11, .y = 252, .width = 21, .height = 16,
     .text = "9)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef9Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 252, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef9Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 243, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label34", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 252, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef9Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 250, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 8, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 9", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef9Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 252, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},
    // Row 10
    {.name = "Label31", .kind = Kind::Label, .parent = Control::Panel1, .x = 3, .y = 280, .width = 29, .height = 16,
     .text = "10)", .font = kRowNumberFont, .flags = AutoSize | Opaque},
    {.control = Control::Oef10Grondtal, .kind = Kind::Label, .parent = Control::Panel1, .x = 69, .y = 280, .width = 62, .height = 18,
     .text = "000000", .font = kArial16BoldItalic, .flags = AlignRight | Opaque, .tooltip = "Grondtal"},
    {.control = Control::Oef10Exponent, .kind = Kind::Label, .parent = Control::Panel1, .x = 138, .y = 271, .width = 7, .height = 16,
     .text = "x", .font = kArial13BoldItalic, .flags = AutoSize | Opaque, .tooltip = "Exponent."},
    {.name = "Label35", .kind = Kind::Label, .parent = Control::Panel1, .x = 176, .y = 280, .width = 9, .height = 18,
     .text = "=", .font = kArial16BoldItalic, .flags = AutoSize | Opaque},
    {.control = Control::Oef10Result, .kind = Kind::Edit, .parent = Control::Panel1, .x = 207, .y = 278, .width = 234, .height = 20,
     .text = kAnswerPlaceholder, .font = kArial16BoldItalic, .flags = TabStop | SelectOnFocus,
     .tabOrder = 9, .tooltip = "Uw oplossing.", .cursor = Cursor::Arrow, .maxLength = 25,
     .accessibleName = "Oplossing oefening 10", .help = help::kResult.data(),
     .handlers = kResultHandlers},
    {.control = Control::Oef10Kontrol, .kind = Kind::Label, .parent = Control::Panel1, .x = 466, .y = 280, .width = 68, .height = 16,
     .text = "", .font = kArial16BoldItalic, .flags = Opaque},

    // ---- Score panel Panel2.
    {.name = "Label41", .kind = Kind::Label, .parent = Control::Panel2, .x = 24, .y = 28, .width = 125, .height = 16,
     .text = "Behaalde punten", .font = kNavyCaptionFont, .flags = AutoSize | Opaque},
    {.control = Control::Label6, .kind = Kind::Label, .parent = Control::Panel2, .x = 35, .y = 66, .width = 105, .height = 37,
     .text = "", .font = {kMsSans, 32, Bold, Color::clYellow}, .flags = AlignCenter | Opaque,
     .tooltip = "Aantal behaalde punten in huidige reeks.",
     .help = help::kLabel6.data()},
    {.name = "Label14", .kind = Kind::Label, .parent = Control::Panel2, .x = 72, .y = 135, .width = 38, .height = 29,
     .text = "OP", .font = {kMsSans, 24, Bold, Color::clBlack}, .flags = AutoSize | Opaque},
    {.control = Control::Label8, .kind = Kind::Label, .parent = Control::Panel2, .x = 35, .y = 197, .width = 105, .height = 37,
     .text = "", .font = {kMsSans, 32, Bold, Color::clBlue}, .flags = AlignCenter | Opaque,
     .tooltip = "Maximum aantal punten in huidige reeks.",
     .help = help::kLabel8.data()},
    {.name = "Label40", .kind = Kind::Label, .parent = Control::Panel2, .x = 26, .y = 260, .width = 122, .height = 16,
     .text = "Maximum punten", .font = kNavyCaptionFont, .flags = AutoSize | Opaque},

    // ---- Results panel Panel3.
    {.name = "Label47", .kind = Kind::Label, .parent = Control::Panel3, .x = 326, .y = 44, .width = 116, .height = 24,
     .text = "Puntentotaal", .font = {kMsSans, 19, Bold, Color::clWhite}, .background = Color::Background,
     .flags = AlignCenter | Opaque},
    {.control = Control::Label48, .kind = Kind::Label, .parent = Control::Panel3, .x = 210, .y = 116, .width = 122, .height = 37,
     .text = "", .font = {kMsSans, 32, Bold, Color::clYellow}, .flags = AutoSize | AlignRight | Opaque},
    {.name = "Label50", .kind = Kind::Label, .parent = Control::Panel3, .x = 370, .y = 124, .width = 30, .height = 24,
     .text = "OP", .font = {kMsSans, 19, Bold, Color::clWhite}, .flags = AutoSize | AlignCenter | Opaque},
    {.control = Control::Label49, .kind = Kind::Label, .parent = Control::Panel3, .x = 436, .y = 114, .width = 122, .height = 37,
     .text = "", .font = {kMsSans, 32, Bold, Color::clYellow}, .flags = AutoSize | Opaque},
    {.control = Control::Label51, .kind = Kind::Label, .parent = Control::Panel3, .x = 304, .y = 209, .width = 98, .height = 41,
     .text = "", .font = {kMsSans, 32, Bold, Color::clLime}, .flags = AlignRight | Opaque},
    {.name = "Label52", .kind = Kind::Label, .parent = Control::Panel3, .x = 412, .y = 208, .width = 30, .height = 37,
     .text = "%", .font = {kMsSans, 32, Bold, Color::clWhite}, .flags = AutoSize | Opaque},

    // ---- About panel Info.
    {.name = "Label42", .kind = Kind::Label, .parent = Control::Info, .x = 58, .y = 13, .width = 103, .height = 16,
     .text = "Gemaakt door", .font = {kMsSans, 13, Regular, Color::clYellow}, .flags = AutoSize | Opaque},
    {.name = "Label43", .kind = Kind::Label, .parent = Control::Info, .x = 176, .y = 8, .width = 141, .height = 24,
     .text = "het Tolvaro-team", .font = {kMsSans, 19, Bold | Italic, Color::clYellow}, .flags = AutoSize | Opaque},
    {.name = "Label46", .kind = Kind::Label, .parent = Control::Info, .x = 161, .y = 31, .width = 162, .height = 16,
     .text = "www.tolvaro.example", .font = {kMsSans, 13, Bold | Italic, Color::clWhite}, .flags = AutoSize | Opaque},
    {.name = "Label44", .kind = Kind::Label, .parent = Control::Info, .x = 216, .y = 75, .width = 167, .height = 20,
     .text = "Tolvaro v.1", .font = {kMsSans, 16, Bold | Underline, Color::clYellow}, .flags = AutoSize | Opaque},
    {.name = "Label45", .kind = Kind::Label, .parent = Control::Info, .x = 16, .y = 99, .width = 527, .height = 120,
     .text = "Flexibel Programma voor het oefenen met Tolvaro. Het programma is in te stellen van heel eenvoudig "
             "tot heel moeilijk, en bevat de mogelijkheid om een schriftelijke opgave aan te maken en te printen. "
             "Er is ook een timer aanwezig die het mogelijk maakt om te rekenen in wedstrijdverband (zoveel "
             "mogelijk juiste oefeningen maken binnen een vastgestelde tijd).",
     .font = kInfoFont, .flags = WordWrap | Opaque},
    {.name = "Image2", .kind = Kind::Image, .parent = Control::Info, .x = 537, .y = 6, .width = 33, .height = 36,
     .text = "", .font = {}, .picture = ":/art/icon.svg",
     .accessibleName = "Tolvaro"},
    {.control = Control::OKKnop, .kind = Kind::Button, .parent = Control::Info, .x = 286, .y = 237, .width = 36, .height = 25,
     .text = "", .font = {kMsSans, 16, Bold, Color::clGreen}, .flags = DefaultButton, .tabOrder = 0,
     .picture = ":/art/ok.svg",
     .accessibleName = "OK",
     .handlers = {.click = [](TForm1& f, Control) { f.OKKnopClick(); }}},
};

}  // namespace

std::span<const ControlSpec> MainWindowControls()
{
    return std::span<const ControlSpec>(std::begin(kControls), std::end(kControls));
}

}  // namespace tolvaro

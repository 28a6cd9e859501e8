#include "core/view.h"

#include <array>

namespace tolvaro {

std::string ControlName(Control control) {
    static constexpr std::array<const char*, static_cast<int>(Control::Oef1Grondtal)> kFixed = {
        "Form1",    "Instellingen", "MaxGrondtal", "MaxExponent", "TimerMinuten",     "Reeksteller", "KlokVenster",
        "Startknop", "OKKnop1",     "Panel1",      "Panel3",      "Info",             "Kontroleer",  "VolgendeOefening",
        "Label6",   "Label8",       "Label48",     "Label49",     "Label51",          "Help",
    };
    static constexpr std::array<const char*, 4> kRowParts = {"Grondtal", "Exponent", "Result", "Kontrol"};
    const int index = static_cast<int>(control);
    if (index < 0 || index >= static_cast<int>(Control::Count)) return {};
    if (index < static_cast<int>(Control::Oef1Grondtal)) return kFixed[index];
    const int offset = index - static_cast<int>(Control::Oef1Grondtal);
    return "Oef" + std::to_string(offset % kRows + 1) + kRowParts[offset / kRows];
}

}  // namespace tolvaro

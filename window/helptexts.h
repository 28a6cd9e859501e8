// The context help of the main window: one fixed Dutch text per control, lines joined by a
// carriage return alone. Controls without an entry leave the help box as it is.
#pragma once

#include <string_view>

namespace tolvaro::help {

inline constexpr std::string_view kMaxGrondtal =
    "Dit is de hoogste waarde die mag gebruikt worden voor het \"grondtal\" in de huidige oefening.\r"
    "(standaard is dit 5).";
inline constexpr std::string_view kMaxExponent =
    "Dit is de hoogste waarde die mag gebruikt worden voor het \"exponent\" in de huidige oefening.\r"
    "(standaard is dit 2).";
inline constexpr std::string_view kTimerMinuten =
    "Indien u met de timer wenst te werken, moet hier het aantal minuten ingevuld worden.\r"
    "Als deze waarde groter is dan \"0\", verschijnt boven de oefening een startknop. Een muisklik op deze "
    "startknop zal de timer starten.\r"
    "Als de timer afgelopen is, verschijnt een venster met de uitslag van de oefening (aantal gemaakte "
    "oefeningen, aantal juiste oplossingen, percentage juiste oplossingen).\r"
    "Het programma komt terug in oorspronkelijke staat na het gebruik van de resetknop die boven dit venster "
    "staat.";
inline constexpr std::string_view kReeksteller =
    "Dit is het nummer van de oefening in een \"REEKS\" oefeningen.\r"
    "Een \"REEKS\" oefeningen bestaat uit een serie \"GELIJKE\" oefeningen.\r"
    "Er wordt steeds een nieuwe \"REEKS\" opgestart na een wijziging in de \"instellingen.\"";
inline constexpr std::string_view kResult =
    "Hier moet u de oplossing invullen.\r"
    "Niet Numerieke invoer zal als \"FOUT\" worden aanzien.";
inline constexpr std::string_view kLabel6 =
    "Dit is het totaal van de behaalde punten over de volledige huidige \"REEKS\".";
inline constexpr std::string_view kLabel8 =
    "Dit is het Maximum te behalen punten over de volledige huidige \"REEKS\".";
inline constexpr std::string_view kKontroleer =
    "\r"
    "Een muisklik op deze knop zal de ingevoerde oplossingen controleren op juistheid.\r"
    "Dit zal resulteren in een \"GOED\" of \"FOUT\" naast de ingevoerde oplossing, én in een aanpassing van de "
    "behaalde punten voor de huidige \"REEKS\".";
inline constexpr std::string_view kVolgendeOefening =
    "\r"
    "Een muisklik op deze knop zal de behaalde punten vastleggen en een volgende oefening creëren voor de "
    "huidige \"REEKS\".";
inline constexpr std::string_view kImage3 =
    "\r"
    "Een muisklik op deze printer geeft u de kans om en schriftelijke opgave aan te maken en te printen.\r"
    "\r"
    "Eerst zal een dialogvenster verschijnen waarin u de titel van de oefening kan invullen en waarin u, indien "
    "gewenst, kan aanvinken dat u ook een extra blad wil printen mét de oplossing inbegrepen.";
inline constexpr std::string_view kImage4 =
    "\r"
    "Het programma beëindigen.";

}  // namespace tolvaro::help

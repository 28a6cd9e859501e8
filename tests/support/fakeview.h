// An in-memory View for logic tests: texts, visibility, enabled state, focus and colours in
// maps, the print buffer as a list of jobs, and a fake monotonic clock.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/view.h"

namespace tolvaro::test {

class FakeClock final : public Clock {
public:
    std::int64_t Now() const override { return now; }
    void AdvanceMs(std::int64_t ms) { now += ms * 1'000'000; }
    std::int64_t now = 1'000'000'000'000;  // an arbitrary start
};

class FakeView : public View {
public:
    FakeView() {
        texts[Control::MaxGrondtal] = "5";
        texts[Control::MaxExponent] = "2";
        texts[Control::TimerMinuten] = "0";
        texts[Control::Reeksteller] = "1";
        for (Control hidden : {Control::Startknop, Control::OKKnop1, Control::KlokVenster, Control::Panel3,
                               Control::Info}) {
            visible[hidden] = false;
        }
    }

    void SetText(Control c, const std::string& t) override { texts[c] = t; }
    std::string Text(Control c) const override {
        const auto it = texts.find(c);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetVisible(Control c, bool v) override { visible[c] = v; }
    bool IsVisible(Control c) const override {
        const auto it = visible.find(c);
        return it == visible.end() || it->second;
    }
    void SetEnabled(Control c, bool e) override { enabled[c] = e; }
    bool IsEnabled(Control c) const {
        const auto it = enabled.find(c);
        return it == enabled.end() || it->second;
    }
    void SetFocus(Control c) override { focus = c; }
    void SetFontColor(Control c, Color color) override { colors[c] = color; }
    void SetHelpText(const std::string& t) override { help = t; }
    void SetTimerEnabled(bool e) override { timerEnabled = e; }
    void SetTimerInterval(int ms) override { timerInterval = ms; }
    void ClearPrintBuffer() override { buffer.clear(); }
    void AddPrintLine(const std::string& line) override { buffer.push_back(line); }
    void PrintBuffer(const std::string& title) override {
        if (printFails) throw std::runtime_error("Afdrukken mislukt.");
        jobs.push_back(buffer);
        jobTitles.push_back(title);
    }
    bool ExecutePrinterSetup() override {
        ++setupShown;
        return setupResult;
    }
    void OpenPrintDialog() override { ++printDialogsOpened; }
    void Quit() override { quit = true; }

    std::map<Control, std::string> texts;
    std::map<Control, bool> visible;
    std::map<Control, bool> enabled;
    std::map<Control, Color> colors;
    Control focus = Control::Form1;
    std::string help;
    bool timerEnabled = false;
    int timerInterval = 0;
    std::vector<std::string> buffer;
    std::vector<std::vector<std::string>> jobs;
    std::vector<std::string> jobTitles;
    bool printFails = false;
    bool setupResult = true;
    int setupShown = 0;
    int printDialogsOpened = 0;
    bool quit = false;
};

}  // namespace tolvaro::test

// An in-memory View for logic tests: texts, visibility, enabled state, focus and colours in
// maps, the print buffer with every printed job kept, and a fake monotonic clock.
#pragma once

#include <functional>
#include <map>
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
    struct Job {
        std::string title;
        std::vector<std::string> added;  // the added lines, carriage returns included
    };

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

    void SetText(Control c, const std::string& t) override {
        ++writes;
        texts[c] = t;
    }
    std::string Text(Control c) const override {
        const auto it = texts.find(c);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetVisible(Control c, bool v) override {
        ++writes;
        visible[c] = v;
    }
    bool IsVisible(Control c) const override {
        const auto it = visible.find(c);
        return it == visible.end() || it->second;
    }
    void SetEnabled(Control c, bool e) override {
        ++writes;
        enabled[c] = e;
    }
    bool IsEnabled(Control c) const {
        const auto it = enabled.find(c);
        return it == enabled.end() || it->second;
    }
    void SetFocus(Control c) override {
        ++writes;
        focus = c;
    }
    void SetFontColor(Control c, Color color) override {
        ++writes;
        colors[c] = color;
    }
    void SetHelpText(const std::string& t) override {
        ++writes;
        help = t;
    }
    void SetTimerEnabled(bool e) override {
        ++writes;
        timerEnabled = e;
    }
    void SetTimerInterval(int ms) override {
        ++writes;
        timerInterval = ms;
    }
    void SetTimerNextTick(int ms) override { nextTickMs = ms; }
    void ClearPrintBuffer() override {
        log.emplace_back("clear");
        buffer.clear();
    }
    void AddPrintLine(const std::string& line) override {
        log.emplace_back("add");
        buffer.push_back(line);
    }
    void PrintBuffer(const std::string& title) override {
        log.emplace_back("print");
        const Job job{title, buffer};
        if (onPrint) onPrint(job);  // may throw: the job then never arrives
        jobs.push_back(job);
    }
    bool ExecutePrinterSetup() override {
        log.emplace_back("setup");
        ++setupCalls;
        return onSetup ? onSetup() : setupResult;
    }
    void OpenPrintDialog() override { ++printDialogsOpened; }
    void Quit() override { quit = true; }
    void Happened(Moment moment) override { moments.push_back(moment); }

    std::map<Control, std::string> texts;
    std::map<Control, bool> visible;
    std::map<Control, bool> enabled;
    std::map<Control, Color> colors;
    Control focus = Control::Form1;
    std::string help;
    bool timerEnabled = false;
    int timerInterval = 0;
    int nextTickMs = -1;  // the last tick called for off the timer's beat
    int writes = 0;  // calls that change the window
    std::vector<Moment> moments;

    std::vector<std::string> buffer;
    std::vector<Job> jobs;
    std::vector<std::string> log;  // "setup", "clear", "add", "print" in order
    bool setupResult = true;
    int setupCalls = 0;
    std::function<bool()> onSetup;
    std::function<void(const Job&)> onPrint;
    int printDialogsOpened = 0;
    bool quit = false;
};

}  // namespace tolvaro::test

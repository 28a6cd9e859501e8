// An in-memory View for the print tests: controls are texts in a map, the print buffer is a
// list of added lines, and each printed buffer is kept as a job.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/view.h"

class FakeView : public tolvaro::View {
public:
    struct Job {
        std::string title;
        std::vector<std::string> added;  // the added lines, carriage returns included
    };

    FakeView() {
        texts[tolvaro::Control::MaxGrondtal] = "5";
        texts[tolvaro::Control::MaxExponent] = "2";
    }

    void SetText(tolvaro::Control control, const std::string& text) override {
        ++writes;
        texts[control] = text;
    }
    std::string Text(tolvaro::Control control) const override {
        const auto it = texts.find(control);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetVisible(tolvaro::Control, bool) override { ++writes; }
    bool IsVisible(tolvaro::Control) const override { return true; }
    void SetEnabled(tolvaro::Control, bool) override { ++writes; }
    void SetFocus(tolvaro::Control) override { ++writes; }
    void SetFontColor(tolvaro::Control, tolvaro::Color) override { ++writes; }
    void SetHelpText(const std::string&) override { ++writes; }
    void SetTimerEnabled(bool) override { ++writes; }
    void SetTimerInterval(int) override { ++writes; }

    void ClearPrintBuffer() override {
        log.emplace_back("clear");
        buffer.clear();
    }
    void AddPrintLine(const std::string& line) override {
        log.emplace_back("add");
        buffer.push_back(line);
    }
    void PrintBuffer(const std::string& jobTitle) override {
        log.emplace_back("print");
        const Job job{jobTitle, buffer};
        if (onPrint) onPrint(job);  // may throw: the job then never arrives
        jobs.push_back(job);
    }
    bool ExecutePrinterSetup() override {
        log.emplace_back("setup");
        ++setupCalls;
        return onSetup ? onSetup() : setupResult;
    }
    void OpenPrintDialog() override { ++writes; }
    void Quit() override { ++writes; }

    std::map<tolvaro::Control, std::string> texts;
    int writes = 0;  // calls that would change the window
    int setupCalls = 0;
    bool setupResult = true;
    std::function<bool()> onSetup;
    std::function<void(const Job&)> onPrint;
    std::vector<std::string> buffer;
    std::vector<Job> jobs;
    std::vector<std::string> log;
};

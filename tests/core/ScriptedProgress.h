#pragma once
// A progress window for the tests.

#include <string>
#include <vector>

#include "base/Progress.h"

namespace zorv::testing {

// Records what the computation shows, answers its questions as told, and
// presses cancel once `cancelAfter` positions have been shown.
class ScriptedProgress : public Progress {
public:
    void start(const std::string& caption, int, int maximum) override {
        captions.push_back(caption);
        maxima.push_back(maximum);
        counting = caption.rfind(cancelIn, 0) == 0;
    }
    void setRange(int, int) override {}
    void setPosition(int) override {
        if (counting && cancelAfter >= 0 && ++positions > cancelAfter) cancelled = true;
    }
    void hide() override {}
    bool isCancelled() const override { return cancelled; }
    bool confirm(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
    void inform(const std::string& title, const std::string& text, bool error) override {
        messages.push_back({title, text, error});
    }

    struct Message {
        std::string title, text;
        bool error;
    };
    std::vector<std::string> captions;
    std::vector<int> maxima;
    std::vector<std::string> questions;
    std::vector<Message> messages;
    bool answer = true;
    bool cancelled = false;
    int cancelAfter = -1;  // positions before the cancel button is pressed
    int positions = 0;
    // When set, only the positions of the stages whose captions begin so count.
    std::string cancelIn;
    bool counting = true;
};

}  // namespace zorv::testing

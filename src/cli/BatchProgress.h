#pragma once
// Progress of the nonparametric estimator without a window: the messages it
// shows on its way go to standard error, and a small sample is analysed as
// it is (the question's OK).

#include <cstdio>

#include "base/Progress.h"

namespace zorv {

class BatchProgress : public Progress {
public:
    void start(const std::string&, int, int) override {}
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void hide() override {}
    bool isCancelled() const override { return false; }
    bool confirm(const std::string& question) override {
        std::fprintf(stderr, "%s OK\n", question.c_str());
        return true;
    }
    void inform(const std::string& title, const std::string& text, bool) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
};

}  // namespace zorv

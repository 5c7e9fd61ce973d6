#pragma once
// Progress of a long computation, shown by the layer above: a stage caption,
// a range and a position, a cancel flag the computation polls, and the one
// question a computation may ask on its way.

#include <string>

namespace zorv {

class Progress {
public:
    virtual ~Progress() = default;
    // Shows the progress with a caption and a range.
    virtual void start(const std::string& caption, int minimum, int maximum) = 0;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual void hide() = 0;
    // Set when the user asked to stop.
    virtual bool isCancelled() const = 0;
    // Asks a yes/no question (OK continues).
    virtual bool confirm(const std::string& question) = 0;
    // Shows a message that needs no answer under its own title: an error box
    // when `error` is set, else an information box. The computation goes on
    // afterwards. Implementations without a user interface may ignore it.
    virtual void inform(const std::string& title, const std::string& text, bool error) {
        (void)title;
        (void)text;
        (void)error;
    }
};

}  // namespace zorv

#pragma once
// The option set of zorv-batch: the options of the analyses (the list of
// zorvcore), the selection, output and settings options, and the command
// line seen as the option source the readers of zorvcore take.

#include <QCommandLineParser>
#include <optional>
#include <string>

#include "registry/OptionSource.h"

namespace zorv {

// Every option of every analysis; an analysis reads the ones it takes.
void addBatchOptions(QCommandLineParser& p);

class ParserOptions : public OptionSource {
public:
    explicit ParserOptions(const QCommandLineParser& p) : p_(p) {}
    bool isSet(std::string_view name) const override;
    std::vector<std::string> values(std::string_view name) const override;

private:
    const QCommandLineParser& p_;
};

std::string optionText(const QCommandLineParser& p, const char* name);
double numberOption(const QCommandLineParser& p, const char* name);
// The option as a whole number in [minimum, maximum], else `message`.
int wholeOption(const QCommandLineParser& p, const char* name, int minimum, int maximum,
                const std::string& message);

}  // namespace zorv

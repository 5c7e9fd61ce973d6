#include "BatchParserTexts.h"

#include <QRegularExpression>

#include "BatchHelp.h"

namespace zorv {

namespace {

std::string optionWords(const QStringList& names) {
    std::string s;
    for (const QString& n : names) {
        if (!s.empty()) s += ", ";
        s += (n.size() == 1 ? "-" : "--") + n.toStdString();
    }
    return s;
}

// The option named between the quotes of the parser's own text.
std::string quotedName(const QString& text) {
    static const QRegularExpression quoted(QStringLiteral("'([^']*)'"));
    const QRegularExpressionMatch m = quoted.match(text);
    if (!m.hasMatch()) return {};
    QString name = m.captured(1);
    if (!name.startsWith(QLatin1Char('-')))
        name.prepend(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"));
    return name.toStdString();
}

}  // namespace

std::string parserFailureText(const QCommandLineParser& p) {
    const QStringList unknown = p.unknownOptionNames();
    const QStringList args = p.positionalArguments();
    const std::string command = args.isEmpty() ? std::string() : args[0].toStdString();
    if (!unknown.isEmpty()) {
        std::string s =
            (unknown.size() == 1 ? "Nieznana opcja: " : "Nieznane opcje: ") + optionWords(unknown) + ".";
        const std::optional<std::string> own = commandOptionsText(command);
        if (!own) return s + " Opcje podaje zorv-batch --help.";
        s += " Polecenie " + command + " przyjmuje ";
        if (!own->empty()) s += *own + " oraz ";
        return s + "opcje wyboru zdarzeń i wyników (zorv-batch --help).";
    }
    // The parser stops at the first of these; its text names the option.
    const QString text = p.errorText();
    const std::string name = quotedName(text);
    if (text.startsWith(QStringLiteral("Missing value"))) return "Brak wartości opcji " + name + ".";
    if (text.startsWith(QStringLiteral("Unexpected value")))
        return "Opcja " + name + " nie przyjmuje wartości.";
    return "Błędny wiersz polecenia (" + text.toStdString() + "); opcje podaje zorv-batch --help.";
}

}  // namespace zorv

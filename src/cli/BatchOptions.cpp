#include "BatchOptions.h"

namespace zorv {

namespace {
QString nameOf(std::string_view name) { return QString::fromLatin1(name.data(), qsizetype(name.size())); }
}  // namespace

void addBatchOptions(QCommandLineParser& p) {
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    // The selection, the base properties, the outputs and the settings.
    for (const char* name : {"zone", "department", "from", "to", "where", "mmin", "a", "b", "table", "report",
                             "picture", "template", "settings", "locale"}) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
    for (const char* flag : {"located", "or", "no-check"})
        p.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    for (const OptionSpec& spec : analysisOptions()) {
        QCommandLineOption o(QString::fromLatin1(spec.name));
        if (spec.kind != OptionKind::Flag) o.setValueName(QStringLiteral("x"));
        p.addOption(o);
    }
}

bool ParserOptions::isSet(std::string_view name) const { return p_.isSet(nameOf(name)); }

std::vector<std::string> ParserOptions::values(std::string_view name) const {
    std::vector<std::string> out;
    for (const QString& v : p_.values(nameOf(name))) out.push_back(v.toStdString());
    return out;
}

std::string optionText(const QCommandLineParser& p, const char* name) {
    return p.value(QString::fromLatin1(name)).toStdString();
}

double numberOption(const QCommandLineParser& p, const char* name) {
    return numberOption(ParserOptions(p), name);
}

int wholeOption(const QCommandLineParser& p, const char* name, int minimum, int maximum,
                const std::string& message) {
    return wholeOption(ParserOptions(p), name, minimum, maximum, message);
}

}  // namespace zorv

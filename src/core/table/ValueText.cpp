#include "table/ValueText.h"

#include "text/DateText.h"
#include "text/DateTimeText.h"
#include "text/Dates.h"
#include "text/NumberFormat.h"

namespace zorv {

std::string valueText(const Value& v, FieldType type, const Locale& locale, std::string_view displayFormat) {
    if (v.isNull()) return {};
    if (v.kind() == Value::Kind::Text) return v.textValue();
    switch (type) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::LargeInt:
        case FieldType::AutoInc: return std::to_string(v.toInt());
        case FieldType::Float:
            return displayFormat.empty() ? formatGeneral(v.toDouble(), locale)
                                         : formatMask(v.toDouble(), displayFormat, locale);
        case FieldType::Date: return formatDate(wholeDays(v.toDouble()), locale);
        case FieldType::DateTime: return formatDateTime(v.toDouble(), locale);
        case FieldType::Time: return formatTime(v.toDouble());
        case FieldType::Boolean: return v.toBool() ? "Prawda" : "Fałsz";
        case FieldType::String:
        case FieldType::Memo: return v.textValue();
        case FieldType::Unknown: break;
    }
    return {};
}

}  // namespace zorv

#pragma once
// The ordinary text form of a field value, as grids, reports and exported
// text tables show it.

#include <string>
#include <string_view>

#include "table/FieldType.h"
#include "table/Value.h"
#include "text/Locale.h"

namespace zorv {

// Null: empty text. Integer types: plain decimal integer. Float: through
// `displayFormat` when given (formatMask), else formatGeneral. Date:
// formatDate; DateTime: formatDateTime; Time: formatTime. Boolean: "Prawda"
// or "Fałsz". String and Memo: the text unchanged. A text value is returned
// unchanged whatever the field type, so a value the engine kept as text is
// never shown as a number it is not.
std::string valueText(const Value& v, FieldType type, const Locale& locale,
                      std::string_view displayFormat = {});

}  // namespace zorv

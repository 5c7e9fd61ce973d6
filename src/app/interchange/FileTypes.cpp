#include "interchange/FileTypes.h"

namespace zorv {

std::string separatorOfTextType(int type) {
    switch (type) {
        case 2: return " ";
        case 3: return ";";
        default: return "\t";
    }
}

}  // namespace zorv

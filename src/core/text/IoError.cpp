#include "text/IoError.h"

#include <cerrno>
#include <cstring>

namespace zorv {

std::string ioErrorText(int error) {
    switch (error) {
        case ENOENT: return "plik nie istnieje";
        case EACCES:
        case EPERM: return "brak uprawnień";
        case EISDIR: return "w miejscu pliku jest folder";
        case ENOTDIR: return "część ścieżki nie jest folderem";
        case EROFS: return "system plików jest tylko do odczytu";
        case ENOSPC:
        case EDQUOT: return "brak miejsca na dysku";
        case EFBIG: return "plik przekroczył dopuszczalny rozmiar";
        case EIO: return "błąd wejścia-wyjścia";
        case ENAMETOOLONG: return "nazwa pliku jest za długa";
        case ELOOP: return "za dużo dowiązań symbolicznych w ścieżce";
        case EMFILE:
        case ENFILE: return "za dużo otwartych plików";
        case ETXTBSY:
        case EBUSY: return "plik jest zajęty";
        case EXDEV: return "plik tymczasowy i docelowy leżą w różnych systemach plików";
        default: break;
    }
    return std::string("błąd systemu ") + std::to_string(error) + " (" + std::strerror(error) + ")";
}

}  // namespace zorv

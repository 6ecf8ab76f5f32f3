#include "app/FileMessages.h"

#include "app/Settings.h"
#include "foundations/Cp1252.h"

#include <string_view>

namespace athanor {

namespace fs = std::filesystem;

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

enum class Holder {
    Other,
    Knowledge,
    Texts,
    Ephemeris,
    TimeTables,
    Places,
    Glyphs,
    Settings,
    Work,
    Support,
    Receptions,
    Archive,
    CurrentSubject
};

Holder holderOf(const fs::path& rel) {
    const std::string first = rel.begin()->string();
    if (std::next(rel.begin()) == rel.end()) {
        // A file of the folder itself: the archives NAME.ST1, .ST2, .ST3.
        const std::string ext = rel.extension().string();
        if (ext.size() == 4 && sameLetters(ext.substr(0, 3), ".ST"))
            return sameLetters(rel.stem().string(), "TMPR") ? Holder::CurrentSubject : Holder::Archive;
        return Holder::Other;
    }
    struct Folder {
        const char* name;
        Holder holder;
    };
    static constexpr Folder kFolders[] = {
        {"OpzioneH", Holder::Knowledge}, {"OpzioneS", Holder::Knowledge},  {"OpzioneT", Holder::Texts},
        {"FilePosi", Holder::Ephemeris}, {"Calendar", Holder::TimeTables}, {"Localita", Holder::Places},
        {"Simboli", Holder::Glyphs},     {"Zodiaco", Holder::Glyphs},      {"FileSet", Holder::Settings},
        {"FileDum", Holder::Work},       {"FileTmp", Holder::Work},        {"Appoggio", Holder::Support},
        {"Scambi", Holder::Receptions},
    };
    for (const Folder& f : kFolders)
        if (sameLetters(first, f.name)) return f.holder;
    return Holder::Other;
}

const char* holderText(Holder h) {
    switch (h) {
    case Holder::Knowledge:
        return " de la base de conocimientos";
    case Holder::Texts:
        return " de los textos de interpretaci\xF3n";
    case Holder::Ephemeris:
        return " de las efem\xE9rides";
    case Holder::TimeTables:
        return " de las tablas de horas legales";
    case Holder::Places:
        return " de las listas de localidades";
    case Holder::Glyphs:
        return " de los s\xEDmbolos";
    case Holder::Settings:
        return " de la configuraci\xF3n";
    case Holder::Work:
        return " de trabajo del programa";
    case Holder::Support:
        return " de datos del programa";
    case Holder::Receptions:
        return " de las tablas de recepciones";
    case Holder::Archive:
        return " del archivo de sujetos";
    case Holder::CurrentSubject:
        return " del sujeto en curso";
    default:
        return "";
    }
}

// The file's place below the folder, or nothing when it lies elsewhere.
fs::path placeIn(const fs::path& file, const fs::path& folder) {
    if (folder.empty()) return {};
    const fs::path rel = file.lexically_normal().lexically_relative(folder.lexically_normal());
    if (rel.empty() || rel == "." || *rel.begin() == "..") return {};
    return rel;
}

std::string slashed(const fs::path& rel) {
    std::string out;
    for (const auto& part : rel) out += (out.empty() ? "" : "/") + part.string();
    return out;
}

std::string backslashed(const fs::path& rel) {
    std::string out;
    for (const auto& part : rel) out += (out.empty() ? "" : "\\") + part.string();
    return out;
}

DataRoot& rememberedFolder() {
    static DataRoot folder;
    return folder;
}

}  // namespace

void setMessageProgramFolder(const DataRoot& programFolder) { rememberedFolder() = programFolder; }

std::string userMessage(const FileError& error) { return userMessage(error, rememberedFolder()); }

std::string userMessage(const FileError& error, const DataRoot& programFolder, const fs::path& installed) {
    const fs::path& root = programFolder.root();
    const fs::path rel = placeIn(error.path(), root);
    const std::string rootText = utf8ToCp1252(root.string());
    const bool isRoot = !root.empty() && error.path().lexically_normal() == root.lexically_normal();
    const Holder holder = rel.empty() ? Holder::Other : holderOf(rel);
    std::error_code ec;
    const bool folder = isRoot || fs::is_directory(error.path(), ec);

    // "el archivo OpzioneH/DBmain.rnd de la base de conocimientos", "la carpeta del programa /home/...".
    std::string what;
    if (isRoot) what = "la carpeta del programa " + rootText;
    else
        what = std::string(folder ? "la carpeta " : "el archivo ") +
               utf8ToCp1252(rel.empty() ? error.path().string() : slashed(rel)) + holderText(holder);

    const bool fromInstallation = !rel.empty() && !folder && DataRoot(installed).exists(backslashed(rel));
    const std::string inFolder = root.empty() ? std::string() : " (" + rootText + ")";

    switch (error.fault()) {
    case FileFault::Missing:
        if (fromInstallation)
            return "Falta " + what +
                   ". Cierre el programa y vuelva a abrirlo: al empezar repone los archivos "
                   "de la instalaci\xF3n que faltan.";
        if (holder == Holder::Knowledge)
            return "Falta " + what +
                   ". Instale la base de conocimientos con el bot\xF3n \"Actualizaci\xF3n\" "
                   "de la ventana principal.";
        if (holder == Holder::Archive || holder == Holder::CurrentSubject)
            return "Falta " + what + ". Si se ha borrado o movido, recup\xE9relo de una copia de seguridad.";
        return "Falta " + what + ". Compruebe que no se ha borrado ni movido nada de la carpeta del programa" +
               inFolder + ".";
    case FileFault::Denied:
        return "No hay permiso para usar " + what +
               ". D\xE9 permiso de lectura y escritura sobre la carpeta del programa" + inFolder +
               " al usuario con el que trabaja.";
    case FileFault::ReadOnly:
        return "No se puede escribir " + what +
               ": el disco es de solo lectura. Trabaje con una carpeta del programa en un disco en el que se "
               "pueda escribir (athanor --data CARPETA).";
    case FileFault::DiskFull:
        return "No se puede escribir " + what + ": el disco est\xE1 lleno. Libere espacio y repita la operaci\xF3n.";
    case FileFault::Damaged: {
        std::string damaged = what + (folder ? " est\xE1 da\xF1"
                                               "ada o incompleta."
                                             : " est\xE1 da\xF1"
                                               "ado o incompleto.");
        damaged[0] = folder ? 'L' : 'E';
        if (fromInstallation)
            return damaged + " B\xF3rrelo y vuelva a abrir el programa, que lo repondr\xE1 desde la instalaci\xF3n.";
        // The program makes this one anew when it is missing.
        if (sameLetters(backslashed(rel), kGeneralSettingsFile))
            return damaged + " B\xF3rrelo y vuelva a abrir el programa, que lo crear\xE1 de nuevo con los valores "
                             "iniciales.";
        if (holder == Holder::Knowledge)
            return damaged + " Vuelva a instalar la base de conocimientos con el bot\xF3n \"Actualizaci\xF3n\" o "
                             "restaure una copia de seguridad.";
        return damaged + " Restaure una copia de seguridad.";
    }
    case FileFault::NotWritten:
        return "No se pudo escribir " + what +
               ". Compruebe que la carpeta existe, que tiene permiso de escritura y que queda espacio en el disco.";
    case FileFault::InUse:
        return "Otro programa Athanor abierto est\xE1 guardando en la carpeta del programa" + inFolder +
               ". Espere a que termine y repita la operaci\xF3n.";
    case FileFault::Other:
        break;
    }
    return "No se pudo usar " + what + ". Compruebe que existe y que tiene permiso de lectura y escritura.";
}

}  // namespace athanor

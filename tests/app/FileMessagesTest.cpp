#include "app/FileMessages.h"

#include "foundations/Cp1252.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace athanor {
namespace {

using test::TempDir;

TEST(FileMessages, SayInSpanishWhichFileWhatIsWrongAndWhatToDo) {
    TempDir folder, installed;
    installed.write("FilePosi/DPR1.rnd", "x");
    installed.write("FileSet/OrbiDomi.Stt", "x");
    const DataRoot root(folder.path());
    struct Case {
        FileError error;
        std::string message;  // UTF-8
    };
    const Case cases[] = {
        {FileError::fromErrno(folder / "OpzioneH/DBmain.rnd", ENOENT),
         "Falta el archivo OpzioneH/DBmain.rnd de la base de conocimientos. Instale la base de conocimientos con "
         "el botón \"Actualización\" de la ventana principal."},
        {FileError::fromErrno(folder / "FilePosi/DPR1.rnd", ENOENT),
         "Falta el archivo FilePosi/DPR1.rnd de las efemérides. Cierre el programa y vuelva a abrirlo: al "
         "empezar repone los archivos de la instalación que faltan."},
        {FileError::fromErrno(folder / "BASE.ST2", ENOENT),
         "Falta el archivo BASE.ST2 del archivo de sujetos. Si se ha borrado o movido, recupérelo de una copia "
         "de seguridad."},
        {FileError::fromErrno(folder / "FileDum/Annotaz.dum", EACCES),
         "No hay permiso para usar el archivo FileDum/Annotaz.dum de trabajo del programa. Dé permiso de "
         "lectura y escritura sobre la carpeta del programa (" +
             folder.path().string() + ") al usuario con el que trabaja."},
        {FileError::fromErrno(folder / "TMPR.ST1", ENOSPC),
         "No se puede escribir el archivo TMPR.ST1 del sujeto en curso: el disco está lleno. Libere espacio y "
         "repita la operación."},
        {FileError::fromErrno(folder / "FileSet/OrbiDomi.Stt", EROFS),
         "No se puede escribir el archivo FileSet/OrbiDomi.Stt de la configuración: el disco es de solo "
         "lectura. Trabaje con una carpeta del programa en un disco en el que se pueda escribir (athanor "
         "--data CARPETA)."},
        {FileError(folder / "FileSet/OrbiDomi.Stt", "Read beyond end of file", FileFault::Damaged),
         "El archivo FileSet/OrbiDomi.Stt de la configuración está dañado o incompleto. Bórrelo y vuelva a "
         "abrir el programa, que lo repondrá desde la instalación."},
        {FileError(folder / "FileSet/MMVarLas.stt", "Read beyond end of file", FileFault::Damaged),
         "El archivo FileSet/MMVarLas.stt de la configuración está dañado o incompleto. Bórrelo y vuelva a "
         "abrir el programa, que lo creará de nuevo con los valores iniciales."},
        {FileError(folder / "Calendar/Elencal.002", "la tabla no figura en el indice", FileFault::Damaged),
         "El archivo Calendar/Elencal.002 de las tablas de horas legales está dañado o incompleto. Restaure una "
         "copia de seguridad."},
        {FileError("/home/ana/tema.pdf", "cannot write the document", FileFault::NotWritten),
         "No se pudo escribir el archivo /home/ana/tema.pdf. Compruebe que la carpeta existe, que tiene permiso "
         "de escritura y que queda espacio en el disco."},
        {FileError(folder.path(), "Input/output error"),
         "No se pudo usar la carpeta del programa " + folder.path().string() +
             ". Compruebe que existe y que tiene permiso de lectura y escritura."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cp1252ToUtf8(userMessage(c.error, root, installed.path())), c.message) << c.error.what();
}

TEST(FileMessages, TheReadersTellWhatWentWrong) {
    TempDir folder;
    const DataRoot root(folder.path());
    // A missing file, and a text file too short for what the program reads.
    try {
        readLines(root.resolve("Appoggio\\Messaggi.txt"));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fault(), FileFault::Missing);
        EXPECT_EQ(cp1252ToUtf8(userMessage(e, root, folder / "nothing")).substr(0, 52),
                  "Falta el archivo Appoggio/Messaggi.txt de datos del ");
    }
    folder.write("FileSet/Short.stt", "1\r\n");
    TextReader reader(root.resolve("FileSet\\Short.stt"));
    reader.line();
    try {
        reader.line();
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fault(), FileFault::Damaged);
    }
    // No English system message ever reaches the user.
    for (int err : {ENOENT, EACCES, EPERM, EROFS, ENOSPC, EIO, EISDIR}) {
        const std::string text = userMessage(FileError::fromErrno(folder / "FileDum/x.dum", err), root);
        EXPECT_EQ(text.find(std::strerror(err)), std::string::npos) << text;
    }
}

TEST(FileMessages, TheOpenedProgramFolderNamesTheFiles) {
    TempDir folder;
    setMessageProgramFolder(DataRoot(folder.path()));
    EXPECT_EQ(cp1252ToUtf8(userMessage(FileError::fromErrno(folder / "OpzioneT/SpgPian.txt", ENOENT))).substr(0, 43),
              "Falta el archivo OpzioneT/SpgPian.txt de lo");
    setMessageProgramFolder(DataRoot());
}

}  // namespace
}  // namespace athanor

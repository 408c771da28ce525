#include "document/document_io.h"

#include <stdexcept>
#include <utility>

#include "document/archive.h"

namespace trivenor {

namespace {

DocumentError FromReadFailure(ReadFailure failure) {
  switch (failure) {
    case ReadFailure::None:
      return DocumentError::None;
    case ReadFailure::NotFound:
      return DocumentError::NotFound;
    case ReadFailure::Denied:
      return DocumentError::ReadDenied;
    case ReadFailure::Failed:
      break;
  }
  return DocumentError::ReadFailed;
}

DocumentError FromWriteFailure(WriteFailure failure) {
  switch (failure) {
    case WriteFailure::None:
      return DocumentError::None;
    case WriteFailure::DiskFull:
      return DocumentError::DiskFull;
    case WriteFailure::Denied:
      return DocumentError::WriteDenied;
    case WriteFailure::BadName:
      return DocumentError::BadName;
    case WriteFailure::Failed:
      break;
  }
  return DocumentError::WriteFailed;
}

/// `text` with its "%1" replaced by `title`.
std::string WithTitle(std::string text, const std::string& title) {
  return text.replace(text.find("%1"), 2, title);
}

/// A file that fails while it is being read in pieces.
struct StreamReadFailure {};

class FileSource final : public ByteSource {
 public:
  explicit FileSource(FileStream& file) : file_(file) {}
  std::size_t Read(std::uint8_t* into, std::size_t size) override {
    const long long done = file_.Read(into, size);
    if (done < 0) {
      throw StreamReadFailure();
    }
    return static_cast<std::size_t>(done);
  }

 private:
  FileStream& file_;
};

}  // namespace

DocumentBytes ReadDocumentBytes(const std::string& path) {
  FileContents file = ReadWholeFile(path, kMaxDocumentBytes);
  if (file.failure != ReadFailure::None) {
    return {FromReadFailure(file.failure), {}};
  }
  if (file.bytes.size() > kMaxDocumentBytes) {
    return {DocumentError::BadFormat, {}};
  }
  return {DocumentError::None, std::move(file.bytes)};
}

DocumentError LoadDocumentBytes(const std::string& path, std::span<const std::uint8_t> bytes,
                                SubCircuit& circuit, DocumentSettings& settings,
                                FileReader& files) {
  if (bytes.empty()) {
    return DocumentError::None;
  }
  try {
    ReadDocumentFile(path, bytes, circuit, settings, files);
  } catch (const FormatError&) {
    return DocumentError::BadFormat;
  }
  return DocumentError::None;
}

// The file is decoded as it is read: a large circuit then never shares the memory with a copy
// of its whole file. The file counts as the size it had when it was opened.
DocumentError OpenDocumentFile(const std::string& path, SubCircuit& circuit,
                               DocumentSettings& settings, FileReader& files) {
  FileStream file(path);
  if (file.failure() != ReadFailure::None) {
    return FromReadFailure(file.failure());
  }
  if (file.size() > kMaxDocumentBytes) {
    return DocumentError::BadFormat;
  }
  if (file.size() == 0) {
    return DocumentError::None;
  }
  FileSource source(file);
  Archive archive(source, static_cast<std::size_t>(file.size()));
  try {
    ReadDocumentFile(path, archive, circuit, settings, files);
  } catch (const FormatError&) {
    return DocumentError::BadFormat;
  } catch (const StreamReadFailure&) {
    return DocumentError::ReadFailed;
  }
  return DocumentError::None;
}

DocumentError SaveDocumentFile(const std::string& path, SubCircuit& circuit,
                               DocumentSettings& settings) {
  Archive archive;
  try {
    SerializeDocument(archive, circuit, settings);
  } catch (const std::length_error&) {
    return DocumentError::WriteFailed;  // a text too long for the file format
  }
  return FromWriteFailure(WriteFileSafely(path, archive.Written()));
}

std::string DocumentErrorMessage(DocumentError error, const std::string& title) {
  switch (error) {
    case DocumentError::None:
      return {};
    case DocumentError::BadFormat:
      return "Unerwartetes Dateiformat.";
    case DocumentError::NotFound:
      return WithTitle(
          "%1\nDie Datei kann nicht gefunden werden.\n"
          "Überprüfen Sie, ob der korrekte Pfad und Dateiname angegeben wurde.",
          title);
    case DocumentError::DiskFull:
      return "Das Ziellaufwerk ist voll.";
    case DocumentError::ReadDenied:
      return WithTitle(
          "Von %1 kann nicht gelesen werden, da sie von einem anderen Benutzer Anwender geöffnet "
          "ist.",
          title);
    case DocumentError::WriteDenied:
      return WithTitle(
          "In %1 kann nicht geschrieben werden, da sie schreibgeschützt oder von einem anderen "
          "Benutzer geöffnet ist.",
          title);
    case DocumentError::BadName:
      return "Ungültiger Dateiname.";
    case DocumentError::ReadFailed:
      return WithTitle("Beim Lesen von %1 ist ein unerwarteter Fehler aufgetreten.", title);
    case DocumentError::WriteFailed:
      return WithTitle("Beim Schreiben von %1 ist ein unerwarteter Fehler aufgetreten.", title);
  }
  return {};
}

}  // namespace trivenor

// The configurator's XML access: XPath 1.0 queries and element writes on the configuration file and
// the item description files.
//
// File names: "stagedesk.xml", "xml" and "xml\stagedesk.xml" mean the configuration file in the
// home folder's "xml" folder; any other relative name (with or without a leading "xml\") is a file in
// that folder; an absolute path is used as it is. Parsed documents are cached and re-read when the
// file changes on disk. A write saves the whole file under a temporary name beside it and renames it
// over the file only when every write, the sync and the close succeeded; otherwise the file stays as it
// was and the write fails with the file and the system's reason in LastError().
//
// An instance is not shared between threads: the window and the copy worker each use their own.
#pragma once

#include "stagedesk/core/sd_platform.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace pugi {
class xml_document;
}

class sd_xml {
public:
    explicit sd_xml(const QString& homeDirectory, sd_platform& platform = sd_platform::Real());
    ~sd_xml();
    sd_xml(const sd_xml&) = delete;
    sd_xml& operator=(const sd_xml&) = delete;

    // The text of the first matching node (an element's own text, an attribute's value), or a null
    // QString when nothing matches, the query is not valid XPath or the file does not load.
    QString GetXPathXML(const QString& xpath, const QString& file);
    // Fills str_XMLData with the texts of all matching nodes, in document order; false when none.
    bool GetMultiXPathXML(const QString& xpath, const QString& file);
    // Whether a node of that name exists. A plain name ("skip_path_check", "cd/post_processing") is
    // looked for anywhere ("//" + name); a name starting with '/' or '(' is an XPath.
    bool CheckNodeExists(const QString& name, const QString& file);
    // Sets the text of the first element of that name (or XPath) and saves the file. A plain name
    // that is missing is added under the document element.
    bool WriteToXML(const QString& file, const QString& element, const QString& value);

    // Whether the file exists and is well-formed XML; LastError() says why not.
    bool Load(const QString& file);
    // The reason of the last failure (malformed file, unreadable or unwritable file, bad query).
    const QString& LastError() const { return lastError_; }
    // The path a file argument stands for.
    QString FilePath(const QString& file) const;
    // Removes the temporary files that an interrupted save left in the xml folder. Call it while no
    // other save can run (at start-up): a save in progress would lose its temporary file.
    void RemoveStaleSaves();

    QStringList str_XMLData;

private:
    struct CachedDocument;
    CachedDocument* Document(const QString& file);
    static QString AsXPath(const QString& name);

    bool Save(const QString& path, const pugi::xml_document& document);

    QString xmlFolder_;
    sd_platform& platform_;
    QString lastError_;
    QHash<QString, std::shared_ptr<CachedDocument>> cache_;
};

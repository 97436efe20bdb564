// The configurator's XML access: XPath 1.0 queries and element writes on the configuration file and
// the item description files.
//
// File names: "stagedesk.xml", "xml" and "xml\stagedesk.xml" mean the configuration file in the
// home folder's "xml" folder; any other relative name (with or without a leading "xml\") is a file in
// that folder; an absolute path is used as it is. Parsed documents are cached and re-read when the
// file changes on disk. Writes are saved atomically (temporary file, then rename).
//
// An instance is not shared between threads: the window and the copy worker each use their own.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace pugi {
class xml_document;
}

class sd_xml {
public:
    explicit sd_xml(const QString& homeDirectory);
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

    QStringList str_XMLData;

private:
    struct CachedDocument;
    CachedDocument* Document(const QString& file);
    static QString AsXPath(const QString& name);

    QString xmlFolder_;
    QString lastError_;
    QHash<QString, std::shared_ptr<CachedDocument>> cache_;
};

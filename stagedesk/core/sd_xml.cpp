#include "stagedesk/core/sd_xml.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_temporary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>

#include <sstream>

struct sd_xml::CachedDocument {
    pugi::xml_document document;
    QByteArray bytes; // what the document was parsed from
};

namespace {

// Comments, declarations and the layout's white space are kept, so a write changes only its element.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration |
                                   pugi::parse_doctype | pugi::parse_pi | pugi::parse_ws_pcdata;

bool IsTextNode(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

bool IsBlank(const char* text) {
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n')
            return false;
    }
    return true;
}

// An element's own text (its text children, layout white space left out); an attribute's value.
QString NodeText(const pugi::xpath_node& found) {
    if (found.attribute())
        return QString::fromUtf8(found.attribute().value());
    const pugi::xml_node node = found.node();
    if (IsTextNode(node))
        return QString::fromUtf8(node.value());
    std::string text;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (IsTextNode(child) && !IsBlank(child.value()))
            text += child.value();
    }
    return QString::fromUtf8(text.c_str());
}

bool IsPlainName(const QString& name) {
    static const QRegularExpression plain("^[A-Za-z_][A-Za-z0-9_.-]*$");
    return plain.match(name).hasMatch();
}

} // namespace

sd_xml::sd_xml(const QString& homeDirectory, sd_platform& platform)
    : xmlFolder_(sd::JoinPath(homeDirectory, "xml")), platform_(platform) {}

sd_xml::~sd_xml() = default;

QString sd_xml::FilePath(const QString& file) const {
    QString name = sd::KitPath(file);
    if (QDir::isAbsolutePath(name))
        return name;
    if (name.compare("xml", Qt::CaseInsensitive) == 0)
        name = "stagedesk.xml";
    if (name.startsWith("xml/", Qt::CaseInsensitive))
        name = name.mid(4);
    return sd::ResolveCase(sd::JoinPath(xmlFolder_, name));
}

QString sd_xml::AsXPath(const QString& name) {
    if (name.startsWith('/') || name.startsWith('('))
        return name;
    return "//" + name;
}

sd_xml::CachedDocument* sd_xml::Document(const QString& file) {
    const QString path = FilePath(file);
    const QFileInfo info(path);
    if (!info.isFile()) {
        lastError_ = "The file " + sd::ShownPath(path) + " could not be found.";
        return nullptr;
    }
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        lastError_ = "The file " + sd::ShownPath(path) + " could not be read: " + input.errorString();
        cache_.remove(path);
        return nullptr;
    }
    // Reading is cheap next to parsing, and unlike time stamps it cannot miss a quick rewrite.
    const QByteArray bytes = input.readAll();
    std::shared_ptr<CachedDocument>& cached = cache_[path];
    if (cached && cached->bytes == bytes)
        return cached.get();
    auto fresh = std::make_shared<CachedDocument>();
    const pugi::xml_parse_result parsed =
        fresh->document.load_buffer(bytes.constData(), bytes.size(), kParseOptions);
    if (!parsed || !fresh->document.document_element()) {
        lastError_ = "The file " + sd::ShownPath(path) + " is not valid XML: " +
                     (parsed ? QString("no root element") : QString::fromUtf8(parsed.description())) +
                     " (at byte " + QString::number(parsed.offset) + ").";
        cache_.remove(path);
        return nullptr;
    }
    fresh->bytes = bytes;
    cached = fresh;
    return cached.get();
}

bool sd_xml::Load(const QString& file) {
    return Document(file) != nullptr;
}

namespace {

// Runs a query; a malformed query is a failure with its reason, never an exception to the caller.
// A query that is not a node set ("count(//file)") gives one value.
struct Selection {
    pugi::xpath_node_set nodes;
    bool isValue = false;
    QString value;
};

bool Select(const pugi::xml_document& document, const QString& xpath, Selection& selection, QString& error) {
    try {
        pugi::xpath_query query(xpath.toUtf8().constData());
        selection.isValue = query.return_type() != pugi::xpath_type_node_set;
        if (selection.isValue)
            selection.value = QString::fromUtf8(query.evaluate_string(document).c_str());
        else
            selection.nodes = query.evaluate_node_set(document);
        return true;
    } catch (const pugi::xpath_exception& failure) {
        error = "The query " + xpath + " is not valid: " + QString::fromUtf8(failure.what());
    } catch (const std::bad_alloc&) {
        error = "The query " + xpath + " needs more memory than there is.";
    }
    return false;
}

} // namespace

QString sd_xml::GetXPathXML(const QString& xpath, const QString& file) {
    return GetMultiXPathXML(xpath, file) ? str_XMLData.first() : QString();
}

bool sd_xml::GetMultiXPathXML(const QString& xpath, const QString& file) {
    str_XMLData.clear();
    CachedDocument* cached = Document(file);
    Selection selection;
    if (!cached || !Select(cached->document, xpath, selection, lastError_))
        return false;
    if (selection.isValue) {
        str_XMLData << selection.value;
        return true;
    }
    selection.nodes.sort();
    for (const pugi::xpath_node& node : selection.nodes)
        str_XMLData << NodeText(node);
    return !str_XMLData.isEmpty();
}

bool sd_xml::CheckNodeExists(const QString& name, const QString& file) {
    CachedDocument* cached = Document(file);
    Selection selection;
    if (!cached || !Select(cached->document, AsXPath(name), selection, lastError_))
        return false;
    return !selection.nodes.empty();
}

bool sd_xml::WriteToXML(const QString& file, const QString& element, const QString& value) {
    CachedDocument* cached = Document(file);
    Selection selection;
    if (!cached || !Select(cached->document, AsXPath(element), selection, lastError_))
        return false;
    pugi::xpath_node_set& nodes = selection.nodes;
    nodes.sort();
    const QByteArray text = value.toUtf8();
    if (!nodes.empty() && nodes.first().attribute()) {
        nodes.first().attribute().set_value(text.constData());
    } else if (!nodes.empty() && nodes.first().node().type() == pugi::node_element) {
        nodes.first().node().text().set(text.constData());
    } else if (nodes.empty() && IsPlainName(element)) {
        cached->document.document_element()
            .append_child(element.toUtf8().constData())
            .text()
            .set(text.constData());
    } else {
        lastError_ =
            "The element " + element + " cannot be written in " + sd::ShownPath(FilePath(file)) + ".";
        return false;
    }
    const QString path = FilePath(file);
    const bool saved = Save(path, cached->document);
    cache_.remove(path); // re-read on next use: the file on disk is what counts
    return saved;
}

bool sd_xml::Save(const QString& path, const pugi::xml_document& document) {
    // Each top-level node on its own line, everything inside exactly as it was read.
    std::ostringstream text;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        node.print(text, "", pugi::format_raw);
        text << '\n';
    }
    // A linked file is saved where the link points, and the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : path;
    const sd_FsResult saved = platform_.SaveFile(target, QByteArray::fromStdString(text.str()));
    if (saved.ok())
        return true;
    lastError_ = "The file " + sd::ShownPath(path) + " could not be saved: " + saved.message;
    return false;
}

void sd_xml::RemoveStaleSaves() {
    sd::RemoveTemporariesIn(platform_, xmlFolder_);
}

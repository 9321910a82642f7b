#include "CDialogBuilder.h"

#include "CComboUI.h"
#include "CContainerUI.h"
#include "CEditUI.h"
#include "CLabelUI.h"
#include "CLinearLayoutUI.h"
#include "CListElementUI.h"
#include "CListHeaderUI.h"
#include "CListUI.h"
#include "COptionUI.h"
#include "CPaintManagerUI.h"
#include "CSliderUI.h"
#include "CTabLayoutUI.h"
#include "SkinStore.h"
#include "SkinValue.h"
#include "Translation.h"

#include <QXmlStreamReader>
#include <QtDebug>
#include <functional>
#include <map>

using namespace mirado;

namespace {
// Attribute names are matched without regard to letter case, as skin authors expect.
QString attr(const QXmlStreamAttributes& attrs, QStringView name, const QString& fallback = QString())
{
    for (const QXmlStreamAttribute& a : attrs) {
        if (a.name().compare(name, Qt::CaseInsensitive) == 0)
            return a.value().toString();
    }
    return fallback;
}

// The attributes a person reads; they are translated as the skin is read, so a new skin text
// needs only its entry in the translation file.
bool isShownText(const QString& name)
{
    return name.compare(u"text", Qt::CaseInsensitive) == 0 || name.compare(u"tooltip", Qt::CaseInsensitive) == 0;
}
} // namespace

CControlUI* CDialogBuilder::CreateStandardControl(const QString& tag)
{
    static const std::map<QString, std::function<CControlUI*()>> factories = {
        {"control", [] { return new CControlUI; }},
        {"container", [] { return new CContainerUI; }},
        {"verticallayout", [] { return new CVerticalLayoutUI; }},
        {"horizontallayout", [] { return new CHorizontalLayoutUI; }},
        {"tablayout", [] { return new CTabLayoutUI; }},
        {"label", [] { return new CLabelUI; }},
        {"text", [] { return new CTextUI; }},
        {"button", [] { return new CButtonUI; }},
        {"option", [] { return new COptionUI; }},
        {"checkbox", [] { return new CCheckBoxUI; }},
        {"edit", [] { return new CEditUI; }},
        {"combo", [] { return new CComboUI; }},
        {"list", [] { return new CListUI; }},
        {"listheader", [] { return new CListHeaderUI; }},
        {"listheaderitem", [] { return new CListHeaderItemUI; }},
        {"listlabelelement", [] { return new CListLabelElementUI; }},
        {"listtextelement", [] { return new CListTextElementUI; }},
        {"progress", [] { return new CProgressUI; }},
        {"slider", [] { return new CSliderUI; }},
    };
    const auto it = factories.find(tag.toLower());
    return it == factories.end() ? nullptr : it->second();
}

CControlUI* CDialogBuilder::Create(const CDuiString& folder, const CDuiString& file, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager)
{
    m_error.clear();
    const auto store = manager ? manager->GetSkinStore() : nullptr;
    if (!store) {
        m_error = QStringLiteral("no skin archive to read \"%1\" from").arg(file.toQString());
        return nullptr;
    }
    // A window's skin folder is looked in first; skins kept at the archive root are found too.
    std::optional<QByteArray> bytes;
    if (!folder.IsEmpty())
        bytes = store->read(folder.toQString() + u'/' + file.toQString());
    if (!bytes)
        bytes = store->read(file.toQString());
    if (!bytes) {
        m_error = QStringLiteral("skin file \"%1\" is not in the skin archive").arg(file.toQString());
        return nullptr;
    }
    return CreateFromXml(*bytes, callback, manager);
}

CControlUI* CDialogBuilder::CreateFromXml(const QByteArray& bytes, IDialogBuilderCallback* callback, CPaintManagerUI* manager)
{
    m_error.clear();
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement()) {
        m_error = QStringLiteral("skin has no root element: %1").arg(xml.errorString());
        return nullptr;
    }
    if (xml.name().compare(u"Window", Qt::CaseInsensitive) != 0) {
        m_error = QStringLiteral("skin root is <%1>, not <Window>").arg(xml.name().toString());
        return nullptr;
    }
    ReadWindowAttributes(xml, manager);
    CControlUI* root = nullptr;
    int nextFont = 0;
    while (xml.readNextStartElement()) {
        const QString tag = xml.name().toString().toLower();
        if (tag == u"font") {
            ReadFont(xml, manager, nextFont);
            xml.skipCurrentElement();
        } else if (tag == u"default") {
            const auto attrs = xml.attributes();
            manager->AddDefaultAttributeList(attr(attrs, u"name"), attr(attrs, u"value"));
            xml.skipCurrentElement();
        } else if (!root) {
            root = ReadControl(xml, callback, manager);
        } else {
            qWarning("skin: only one root control is used; <%s> ignored", qPrintable(tag));
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        m_error = QStringLiteral("skin XML error at line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
        delete root;
        return nullptr;
    }
    if (!root)
        m_error = QStringLiteral("skin has no control");
    return root;
}

void CDialogBuilder::ReadWindowAttributes(QXmlStreamReader& xml, CPaintManagerUI* manager)
{
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        const QString name = a.name().toString().toLower();
        const QString value = a.value().toString();
        if (name == u"size") {
            const SIZE s = parseSize(value);
            manager->SetInitSize(s.cx, s.cy);
        } else if (name == u"mininfo") {
            const SIZE s = parseSize(value);
            manager->SetMinInfo(s.cx, s.cy);
        } else if (name == u"maxinfo") {
            const SIZE s = parseSize(value);
            manager->SetMaxInfo(s.cx, s.cy);
        } else if (name == u"caption") {
            manager->SetCaptionRect(parseRect(value));
        } else if (name == u"sizebox") {
            manager->SetSizeBox(parseRect(value));
        } else if (name == u"bkcolor") {
            if (auto c = parseColor(value))
                manager->SetBackgroundColor(*c);
        } else if (name == u"defaultfontcolor") {
            if (auto c = parseColor(value))
                manager->SetDefaultFontColor(*c);
        } else if (name == u"disabledfontcolor") {
            if (auto c = parseColor(value))
                manager->SetDefaultDisabledColor(*c);
        }
    }
}

void CDialogBuilder::ReadFont(QXmlStreamReader& xml, CPaintManagerUI* manager, int& nextIndex)
{
    const auto attrs = xml.attributes();
    const int index = parseInt(attr(attrs, u"id"), nextIndex);
    nextIndex = index + 1;
    QFont font(attr(attrs, u"name"));
    font.setPixelSize(std::max(parseInt(attr(attrs, u"size"), 12), 1));
    font.setBold(parseBool(attr(attrs, u"bold")));
    font.setItalic(parseBool(attr(attrs, u"italic")));
    font.setUnderline(parseBool(attr(attrs, u"underline")));
    manager->AddFont(index, font, parseBool(attr(attrs, u"default")) || manager->GetFontCount() == 0);
}

CControlUI* CDialogBuilder::ReadControl(QXmlStreamReader& xml, IDialogBuilderCallback* callback, CPaintManagerUI* manager)
{
    const QString tag = xml.name().toString();
    CControlUI* control = CreateStandardControl(tag);
    if (!control && callback)
        control = callback->CreateControl(CDuiString(tag));
    if (!control) {
        qWarning("skin: unknown control <%s> skipped", qPrintable(tag));
        xml.skipCurrentElement();
        return nullptr;
    }
    const QString defaults = manager->GetDefaultAttributeList(tag);
    if (!defaults.isEmpty())
        control->ApplyAttributeList(defaults);
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        const QString name = a.name().toString();
        control->SetAttribute(name, isShownText(name) ? skinText(a.value().toString()) : a.value().toString());
    }
    while (xml.readNextStartElement()) {
        CControlUI* child = ReadControl(xml, callback, manager);
        if (child && !control->AddChild(child)) {
            qWarning("skin: <%s> cannot hold <%s>", qPrintable(tag), qPrintable(xml.name().toString()));
            delete child;
        }
    }
    return control;
}

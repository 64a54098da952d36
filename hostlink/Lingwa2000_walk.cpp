// Walking objects: published string and string-list properties, marked
// property objects and collections, and the ownership tree.
#include "Lingwa2000.h"

#include <QMetaProperty>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <vector>

namespace {

QString WalkKind(QObject *Obj)
{
    const QVariant dyn = Obj->property(TLingwa2000::WalkMarker);
    if (dyn.isValid())
        return dyn.toString();
    const QMetaObject *mo = Obj->metaObject();
    const int ci = mo->indexOfClassInfo(TLingwa2000::WalkMarker);
    if (ci >= 0)
        return QString::fromLatin1(mo->classInfo(ci).value());
    // The chart's scale property records are walked whether or not their
    // class carries the marker; by name, since the chart is built on top of
    // this library.
    if (Obj->inherits(TLingwa2000::ScalePropsClass))
        return QStringLiteral("object");
    return QString();
}

bool IsNameProperty(const QMetaProperty &Prop)
{
    const char *name = Prop.name();
    return qstrcmp(name, "objectName") == 0 || qstrcmp(name, "Name") == 0;
}

} // namespace

void TLingwa2000::TranslateComponent(QObject *Component)
{
    // Depth first, parent before children, children in creation order. The
    // children are listed only after their parent is translated (a setter may
    // rebuild them) and guarded, since translating one may delete another.
    std::vector<QPointer<QObject>> stack;
    stack.emplace_back(Component);
    while (!stack.empty()) {
        QPointer<QObject> obj = stack.back();
        stack.pop_back();
        if (!obj)
            continue;
        TranslateObject(obj);
        if (!obj)
            continue;
        const QObjectList &kids = obj->children();
        for (auto it = kids.crbegin(); it != kids.crend(); ++it)
            stack.emplace_back(*it);
    }
}

void TLingwa2000::TranslateObject(QObject *Obj)
{
    QSet<QObject *> visited;
    TranslateProperties(Obj, visited);
}

void TLingwa2000::TranslateProperties(QObject *Obj, QSet<QObject *> &Visited)
{
    // Visited guards against property objects that refer back to each other.
    if (!Obj || Visited.contains(Obj))
        return;
    Visited.insert(Obj);
    if (OnBeforeObject) {
        bool translate = true;
        OnBeforeObject(this, Obj, translate);
        if (!translate)
            return;
    }
    const QPointer<QObject> guard(Obj);
    const QMetaObject *mo = Obj->metaObject();
    for (int i = 0; i < mo->propertyCount() && guard; ++i) {
        const QMetaProperty prop = mo->property(i);
        if (!prop.isReadable())
            continue;
        const int type = prop.metaType().id();
        if (type == QMetaType::QString) {
            if (!prop.isWritable() || IsNameProperty(prop))
                continue;
            const QString value = prop.read(Obj).toString();
            if (value.startsWith(m_prefix, Qt::CaseSensitive))
                prop.write(Obj, LookupText(value.mid(m_prefix.size())));
        } else if (type == QMetaType::QStringList) {
            if (!prop.isWritable())
                continue;
            QStringList lines = prop.read(Obj).toStringList();
            bool changed = false;
            for (qsizetype j = lines.size() - 1; j >= 0; --j) {
                if (lines[j].startsWith(m_prefix, Qt::CaseSensitive)) {
                    lines[j] = LookupText(lines[j].mid(m_prefix.size()));
                    changed = true;
                }
            }
            if (changed && guard)
                prop.write(Obj, lines);
        } else if (prop.metaType().flags() & QMetaType::PointerToQObject) {
            QObject *target = qvariant_cast<QObject *>(prop.read(Obj));
            if (!target)
                continue;
            const QString kind = WalkKind(target);
            if (kind == QLatin1String("object")) {
                TranslateProperties(target, Visited);
            } else if (kind == QLatin1String("collection")) {
                std::vector<QPointer<QObject>> items;
                for (QObject *item : target->children())
                    items.emplace_back(item);
                for (const QPointer<QObject> &item : items)
                    if (item)
                        TranslateProperties(item, Visited);
            }
        }
    }
}

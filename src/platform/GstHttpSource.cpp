#include "platform/GstHttpSource.h"

#include "platform/LogCategories.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <list>
#include <mutex>

namespace {

struct Claim {
    QString origin;
    GstHttpSource::Setup setup;
};

std::mutex claimsMutex;
std::list<Claim*> claims; // newest first

GstElementClass* parentClass = nullptr;

bool hasProperty(GObject* object, const char* name) {
    return g_object_class_find_property(G_OBJECT_GET_CLASS(object), name) != nullptr;
}

QString originOf(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    const int port = url.port(scheme == QLatin1String("https") ? 443 : 80);
    return scheme + QStringLiteral("://") + url.host().toLower() + QLatin1Char(':') + QString::number(port);
}

// A header name as a structure field: a token of letters, digits and dashes.
bool usableName(const QByteArray& name) {
    return !name.isEmpty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
           });
}

QString refererOf(GstElement* source) {
    GstStructure* extra = nullptr;
    g_object_get(source, "extra-headers", &extra, nullptr);
    if (!extra)
        return {};
    const gchar* referer = gst_structure_get_string(extra, "Referer");
    const QString result = referer ? QString::fromUtf8(referer) : QString();
    gst_structure_free(extra);
    return result;
}

// Streaming or worker thread, before the source sends its first request.
void applyClaim(GstElement* source) {
    gchar* location = nullptr;
    g_object_get(source, "location", &location, nullptr);
    const QString own = originOf(QUrl(QString::fromUtf8(location ? location : "")));
    g_free(location);
    const QString referer = originOf(QUrl(refererOf(source)));
    GstHttpSource::Setup setup;
    {
        std::lock_guard lock(claimsMutex);
        const auto it = std::find_if(claims.begin(), claims.end(), [&](const Claim* c) {
            return !c->origin.isEmpty() && (c->origin == own || c->origin == referer);
        });
        if (it == claims.end())
            return;
        setup = (*it)->setup;
    }
    GstHttpSource::apply(source, setup);
}

GstStateChangeReturn changeState(GstElement* element, GstStateChange transition) {
    if (transition == GST_STATE_CHANGE_READY_TO_PAUSED)
        applyClaim(element);
    return parentClass->change_state(element, transition);
}

void classInit(gpointer klass, gpointer) {
    parentClass = GST_ELEMENT_CLASS(g_type_class_peek_parent(klass));
    GST_ELEMENT_CLASS(klass)->change_state = &changeState;
}

bool registerSource() {
    GstElementFactory* factory = gst_element_factory_find("souphttpsrc");
    if (!factory)
        return false;
    auto* loaded = GST_ELEMENT_FACTORY(gst_plugin_feature_load(GST_PLUGIN_FEATURE(factory)));
    gst_object_unref(factory);
    if (!loaded)
        return false;
    const GType parent = gst_element_factory_get_element_type(loaded);
    const guint rank = gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(loaded));
    gst_object_unref(loaded);
    GTypeQuery query;
    g_type_query(parent, &query);
    if (query.type == 0)
        return false;
    GTypeInfo info{};
    info.class_size = guint16(query.class_size);
    info.class_init = &classInit;
    info.instance_size = guint16(query.instance_size);
    const GType type = g_type_register_static(parent, "ZelmoHttpSrc", &info, GTypeFlags(0));
    // Ranked just above the original, so that every http(s) address is opened through it.
    return type && gst_element_register(nullptr, "zelmohttpsrc", rank + 1, type);
}

} // namespace

bool GstHttpSource::install() {
    static const bool installed = [] {
        const bool ok = registerSource();
        if (!ok)
            qCWarning(lcTv) << "no souphttpsrc: streams that ask for request headers may be refused";
        return ok;
    }();
    return installed;
}

void GstHttpSource::apply(GstElement* source, const Setup& setup) {
    GObject* o = G_OBJECT(source);
    if (!hasProperty(o, "user-agent"))
        return;
    QByteArray userAgent = setup.userAgent;
    GstStructure* extra = nullptr;
    if (hasProperty(o, "extra-headers"))
        g_object_get(o, "extra-headers", &extra, nullptr);
    if (!extra)
        extra = gst_structure_new_empty("extra-headers");
    for (const auto& [name, value] : setup.headers) {
        if (name.compare("User-Agent", Qt::CaseInsensitive) == 0) {
            userAgent = value;
            continue;
        }
        if (!usableName(name)) {
            qCDebug(lcTv) << "request header left out:" << name;
            continue;
        }
        // The entry's own spelling replaces the demuxer's (a Referer of its playlist).
        for (int i = gst_structure_n_fields(extra) - 1; i >= 0; --i) {
            const char* field = gst_structure_nth_field_name(extra, guint(i));
            if (name.compare(field, Qt::CaseInsensitive) == 0)
                gst_structure_remove_field(extra, field);
        }
        gst_structure_set(extra, name.constData(), G_TYPE_STRING, value.constData(), nullptr);
    }
    if (!userAgent.isEmpty())
        g_object_set(o, "user-agent", userAgent.constData(), nullptr);
    if (hasProperty(o, "extra-headers") && gst_structure_n_fields(extra) > 0)
        g_object_set(o, "extra-headers", extra, nullptr);
    gst_structure_free(extra);
    if (hasProperty(o, "timeout"))
        g_object_set(o, "timeout", setup.timeoutS, nullptr);
    if (hasProperty(o, "retries"))
        g_object_set(o, "retries", 0, nullptr);
}

std::shared_ptr<void> GstHttpSource::claim(const QUrl& stream, Setup setup) {
    auto* c = new Claim{originOf(stream), std::move(setup)};
    {
        std::lock_guard lock(claimsMutex);
        claims.push_front(c);
    }
    return std::shared_ptr<void>(c, [](void* p) {
        auto* c = static_cast<Claim*>(p);
        {
            std::lock_guard lock(claimsMutex);
            claims.remove(c);
        }
        delete c;
    });
}

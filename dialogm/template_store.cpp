// Dialog templates from the program's resources (:/dialogs/<id>) and from run-time additions.
#include "dialogm/template_store.h"

#include <QFile>
#include <QString>

#include <map>
#include <mutex>

// The resources library registers its data under this name; naming the initialiser here keeps
// the static linker from dropping the registration.
static void init_resources() {
    Q_INIT_RESOURCE(hysteresis);
}

namespace {

std::mutex g_lock;                                     // guards g_added
std::map<int32_t, std::vector<unsigned char>> g_added; // run-time templates by id

} // namespace

bool find_template(int32_t id, std::vector<unsigned char>& bytes) {
    {
        std::lock_guard<std::mutex> hold(g_lock);
        auto it = g_added.find(id);
        if (it != g_added.end()) {
            bytes = it->second;
            return true;
        }
    }
    static std::once_flag once;
    std::call_once(once, init_resources);
    QFile file(QStringLiteral(":/dialogs/") + QString::number(id));
    if (id < 0 || id > 65535 || !file.open(QIODevice::ReadOnly)) return false;
    QByteArray data = file.readAll();
    bytes.assign(data.begin(), data.end());
    return true;
}

void add_template(int32_t id, const unsigned char* data, size_t size) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_added[id].assign(data, data + size);
}

void remove_template(int32_t id) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_added.erase(id);
}

// The engine as JavaScript sees it (embind): strings for JSON and text, Uint8Array for bytes.
// web/src/engine/varn-engine.d.ts declares it.

#include "web/WebEngine.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::string BytesOf(const emscripten::val& array) {
    const size_t length = array["length"].as<size_t>();
    std::string bytes(length, '\0');
    emscripten::val view{emscripten::typed_memory_view(length, bytes.data())};
    view.call<void>("set", array);
    return bytes;
}

emscripten::val ToArray(const std::string& bytes) {
    // A copy: the memory view would move when the WebAssembly memory grows.
    emscripten::val view{emscripten::typed_memory_view(bytes.size(), bytes.data())};
    return emscripten::val::global("Uint8Array").new_(view);
}

class Engine {
public:
    std::string loadDataSet(emscripten::val names, emscripten::val blobs) {
        std::vector<std::pair<std::string, std::string>> files;
        const size_t count = names["length"].as<size_t>();
        for (size_t i = 0; i < count; ++i)
            files.emplace_back(names[i].as<std::string>(), BytesOf(blobs[i]));
        return engine.LoadDataSet(files);
    }
    std::string catalog() const { return engine.Catalog(); }
    std::string catalogPart(const std::string& part) const { return engine.CatalogPart(part); }
    std::string entry(const std::string& kind, const std::string& name) const {
        return engine.Entry(kind, name);
    }
    std::string itemDetails(const std::string& category, const std::string& item) const {
        return engine.ItemDetails(category, item);
    }
    std::string threadWeavingWarning(const std::string& type) const {
        return engine.ThreadWeavingWarning(type);
    }
    void newCharacter() { engine.NewCharacter(); }
    std::string openVrn(emscripten::val bytes, const std::string& fileName) {
        return engine.OpenVrn(BytesOf(bytes), fileName);
    }
    emscripten::val saveVrn() const { return ToArray(engine.SaveVrn()); }
    std::string importJson(const std::string& text) { return engine.ImportJson(text); }
    std::string exportJson() const { return engine.ExportJson(); }
    std::string textSheet() const { return engine.TextSheet(); }
    std::string htmlSheet() const { return engine.HtmlSheet(); }
    std::string view() { return engine.View(); }
    std::string viewPart(const std::string& part) { return engine.ViewPart(part); }
    std::string apply(const std::string& op) { return engine.Apply(op); }
    bool undo() { return engine.Undo(); }
    bool redo() { return engine.Redo(); }
    std::string undoText() const { return engine.UndoText(); }
    std::string redoText() const { return engine.RedoText(); }
    bool isModified() const { return engine.IsModified(); }
    void markSaved() { engine.MarkSaved(); }

private:
    VarnWebEngine engine;
};

} // namespace

EMSCRIPTEN_BINDINGS(varn_engine) {
    emscripten::class_<Engine>("Engine")
        .constructor<>()
        .function("loadDataSet", &Engine::loadDataSet)
        .function("catalog", &Engine::catalog)
        .function("catalogPart", &Engine::catalogPart)
        .function("entry", &Engine::entry)
        .function("itemDetails", &Engine::itemDetails)
        .function("threadWeavingWarning", &Engine::threadWeavingWarning)
        .function("newCharacter", &Engine::newCharacter)
        .function("openVrn", &Engine::openVrn)
        .function("saveVrn", &Engine::saveVrn)
        .function("importJson", &Engine::importJson)
        .function("exportJson", &Engine::exportJson)
        .function("textSheet", &Engine::textSheet)
        .function("htmlSheet", &Engine::htmlSheet)
        .function("view", &Engine::view)
        .function("viewPart", &Engine::viewPart)
        .function("apply", &Engine::apply)
        .function("undo", &Engine::undo)
        .function("redo", &Engine::redo)
        .function("undoText", &Engine::undoText)
        .function("redoText", &Engine::redoText)
        .function("isModified", &Engine::isModified)
        .function("markSaved", &Engine::markSaved);
}

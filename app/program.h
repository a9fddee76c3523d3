#pragma once
// The composed program: every service, provider, factory, viewer and window that the
// running program has, made and connected in the order the program starts them, and
// taken down in the reverse order. `main` makes one and runs the message loop; the
// program tests make one too, so that they drive the program exactly as it ships.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace orvek {

class DialogHandler;
class TfOrvek1;
class TfOrvekDB;
class WidgetDialogHandler;

class TOrvekProgram {
public:
    struct Options {
        // The answers to the program's message boxes and standard dialogs: the real
        // dialogs when null, a script in tests.
        DialogHandler* Dialogs = nullptr;
        // The splash window shows until the main window's first activation.
        bool ShowSplash = true;
        // Imports a newer text source shipped beside the string table.
        bool ImportStrings = true;
    };

    explicit TOrvekProgram(const Options& options);
    ~TOrvekProgram();
    TOrvekProgram(const TOrvekProgram&) = delete;
    TOrvekProgram& operator=(const TOrvekProgram&) = delete;

    TfOrvek1& MainWindow() const { return *mainWindow_; }
    TfOrvekDB& TemplateWindow() const { return *templateWindow_; }

    // Shows the main window; its first activation logs the user in.
    void Show();

private:
    // Keeps Object alive until the program ends; objects end in the reverse order.
    template <typename T> T* Keep(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        cleanups_.push_back([owned = std::shared_ptr<T>(std::move(object))]() mutable { owned.reset(); });
        return raw;
    }
    // Runs Undo when the program ends, in the reverse order of installation.
    void OnEnd(std::function<void()> undo) { cleanups_.push_back(std::move(undo)); }
    template <typename Set, typename U> void Install(Set set, U* value)
    {
        set(value);
        OnEnd([set] { set(nullptr); });
    }
    template <typename T, typename U> void InstallGlobal(T*& slot, U* value)
    {
        slot = value;
        OnEnd([&slot] { slot = nullptr; });
    }

    void MakeServices(const Options& options);
    void MakeWindows();

    std::vector<std::function<void()>> cleanups_;
    TfOrvek1* mainWindow_ = nullptr;
    TfOrvekDB* templateWindow_ = nullptr;
};

} // namespace orvek

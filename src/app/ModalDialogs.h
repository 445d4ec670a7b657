#pragma once
#include <string>

#include "app/Dialogs.h"

namespace quillet {

// Every box the commands open goes through here, so the program knows when
// one is open: the window keeps serving messages meanwhile, and the tray
// must not start what the open box's command would then act on.
class ModalDialogs : public Dialogs {
    template <class Show>
    auto Modal(Show&& show)
    {
        // Counted, not flagged: a box may open from within another (a record
        // added while hidden shows its own).
        struct Depth {
            int& depth;
            explicit Depth(int& d) : depth(d) { ++depth; }
            ~Depth() { --depth; }
        } open(depth_);
        return show();
    }

public:
    explicit ModalDialogs(Dialogs& inner) : inner_(inner) {}

    bool Open() const { return depth_ > 0; }

    void ShowFailure(const std::string& text) override { Modal([&] { inner_.ShowFailure(text); }); }
    void ShowInformation(const std::string& text) override { Modal([&] { inner_.ShowInformation(text); }); }
    void ShowErrorBox(const std::string& text) override { Modal([&] { inner_.ShowErrorBox(text); }); }
    bool Confirm(const std::string& text) override { return Modal([&] { return inner_.Confirm(text); }); }
    void Beep() override { inner_.Beep(); }
    bool EditLog(const LogRecord& record, std::string& comment) override
    {
        return Modal([&] { return inner_.EditLog(record, comment); });
    }
    bool ConfirmQueue(const std::string& text, bool& quietly) override
    {
        return Modal([&] { return inner_.ConfirmQueue(text, quietly); });
    }
    bool ShowProperties(TPropertiesForm& form) override { return Modal([&] { return inner_.ShowProperties(form); }); }
    bool Execute(SaveDialog& dialog) override { return Modal([&] { return inner_.Execute(dialog); }); }
    bool ShowFindForm(TFindForm& form) override { return Modal([&] { return inner_.ShowFindForm(form); }); }
    bool ShowSearchResultForm(TSearchResultForm& form) override
    {
        return Modal([&] { return inner_.ShowSearchResultForm(form); });
    }

private:
    Dialogs& inner_;
    int depth_ = 0;
};

}  // namespace quillet

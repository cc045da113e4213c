#ifndef MOSSDEN_APP_INPUTCHAIN_H
#define MOSSDEN_APP_INPUTCHAIN_H

// The one place where input is routed: every keyboard, mouse and gamepad
// event goes to the overlay menu first whenever it shows, and to the current
// scene otherwise. Releases reach the scene in both cases, so that nothing
// it holds down stays held behind the menu.
#include <OIS.h>

class MossdenScene;

namespace Mossden {

class MossdenMenu;

class InputChain : public OIS::KeyListener, public OIS::MouseListener {
public:
    explicit InputChain(MossdenMenu& menu) : menu(menu) {}

    // The scene that gets what the menu does not take (null: nothing).
    void setScene(MossdenScene* current) { scene = current; }
    MossdenScene* currentScene() const { return scene; }

    bool keyPressed(const OIS::KeyEvent& evt) override;
    bool keyReleased(const OIS::KeyEvent& evt) override;
    bool mouseMoved(const OIS::MouseEvent& evt) override;
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;
    bool mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;

private:
    MossdenMenu& menu;
    MossdenScene* scene = nullptr;
};

}  // namespace Mossden

#endif

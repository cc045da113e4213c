#ifndef MOSSDEN_SCENE_CAMERAMANINPUT_H
#define MOSSDEN_SCENE_CAMERAMANINPUT_H

// OIS events for the engine's camera man. The camera man takes the Bites
// input types, whose key codes are SDL's: letters and digits are lower-case
// ASCII, other keys SDL's own codes. Only a few keys move the camera (w a s d,
// the arrows, page up/down, left shift); the rest are mapped for completeness.
#include <OIS.h>
#include <OgreInput.h>

namespace OgreBites {
class CameraMan;
}

// SDL key code of an OIS key; 0 for keys SDL has no code for.
OgreBites::Keycode bitesKeycode(OIS::KeyCode key);

// type is OgreBites::KEYDOWN or KEYUP.
OgreBites::KeyboardEvent bitesKeyEvent(int type, const OIS::KeyEvent& evt);
// Absolute position in pixels, relative motion in OIS units (pixels).
OgreBites::MouseMotionEvent bitesMotionEvent(const OIS::MouseEvent& evt);
// type is OgreBites::MOUSEBUTTONDOWN or MOUSEBUTTONUP. OIS left, right and
// middle become BUTTON_LEFT, BUTTON_RIGHT and BUTTON_MIDDLE; other OIS
// buttons keep a number above those three.
OgreBites::MouseButtonEvent bitesButtonEvent(int type, const OIS::MouseEvent& evt,
                                             OIS::MouseButtonID id);

// The camera man's input, fed from OIS. A mouse event with wheel motion also
// reaches it as a wheel event of one step per notch (OIS reports 120 per notch).
void injectMouseMove(OgreBites::CameraMan& cameraMan, const OIS::MouseEvent& evt);
void injectMouseDown(OgreBites::CameraMan& cameraMan, const OIS::MouseEvent& evt,
                     OIS::MouseButtonID id);
void injectMouseUp(OgreBites::CameraMan& cameraMan, const OIS::MouseEvent& evt,
                   OIS::MouseButtonID id);
void injectKeyDown(OgreBites::CameraMan& cameraMan, const OIS::KeyEvent& evt);
void injectKeyUp(OgreBites::CameraMan& cameraMan, const OIS::KeyEvent& evt);

#endif

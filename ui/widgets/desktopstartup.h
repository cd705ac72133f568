#pragma once
// The desktop's start-up feedback for a start that hands its file over: the
// launcher's token (the X11 start-up id or the Wayland activation token)
// travels to the running window, which activates itself with it, and the
// second start ends the launcher's busy cursor although it shows no window.
#include <QByteArray>

class QWidget;

namespace logo {

// The token the desktop gave this start; read before the application object
// exists (the toolkit takes the variables over then). Empty without one.
QByteArray launchToken();

// Ends the start-up feedback of token on X11 ("remove" message); elsewhere
// there is nothing to end: the token's use, or its time-out, ends it.
void completeStartup(const QByteArray &token);

// Raises window to the front with a token from another start: on Wayland the
// compositor lets only a window with a fresh token take the focus.
void activateWithToken(QWidget *window, const QByteArray &token);

} // namespace logo

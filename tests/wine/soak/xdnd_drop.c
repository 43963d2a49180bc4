/* Drops one file on the X window under a point of the screen, as a file
 * manager does: the XDND protocol, version 5, offering text/uri-list. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static Display* display;
static Window source;

static Atom atom(const char* name) { return XInternAtom(display, name, False); }

static void send(Window target, const char* type, long l1, long l2, long l3, long l4)
{
    XEvent e = {0};
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = atom(type);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)source;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &e);
    XFlush(display);
}

/* Handles events until a client message of that type arrives (1), or the time
 * runs out (0); the target asks for the file's URI meanwhile. */
static int await(const char* type, const char* uri, int seconds)
{
    time_t end = time(NULL) + seconds;
    while (time(NULL) <= end) {
        if (!XPending(display)) {
            struct timespec nap = {0, 10 * 1000 * 1000};
            nanosleep(&nap, NULL);
            continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == ClientMessage && e.xclient.message_type == atom(type))
            return 1;
        if (e.type == SelectionRequest) {
            XSelectionRequestEvent* r = &e.xselectionrequest;
            XEvent reply = {0};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r->requestor;
            reply.xselection.selection = r->selection;
            reply.xselection.target = r->target;
            reply.xselection.time = r->time;
            reply.xselection.property = None;
            if (r->target == atom("text/uri-list")) {
                XChangeProperty(display, r->requestor, r->property, r->target, 8, PropModeReplace,
                                (const unsigned char*)uri, (int)strlen(uri));
                reply.xselection.property = r->property;
            }
            XSendEvent(display, r->requestor, False, NoEventMask, &reply);
            XFlush(display);
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: xdnd_drop X Y FILE\n");
        return 2;
    }
    int x = atoi(argv[1]), y = atoi(argv[2]);
    char uri[4096];
    snprintf(uri, sizeof uri, "file://%s\r\n", argv[3]);
    if (!(display = XOpenDisplay(NULL))) {
        fprintf(stderr, "xdnd_drop: no display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display), target = None;
    int tx, ty;
    XTranslateCoordinates(display, root, root, x, y, &tx, &ty, &target);
    if (target == None) {
        fprintf(stderr, "xdnd_drop: no window at %d,%d\n", x, y);
        return 1;
    }
    source = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atom("XdndSelection"), source, CurrentTime);

    send(target, "XdndEnter", 5L << 24, (long)atom("text/uri-list"), 0, 0);
    send(target, "XdndPosition", 0, ((long)x << 16) | y, CurrentTime, (long)atom("XdndActionCopy"));
    if (!await("XdndStatus", uri, 5)) {
        fprintf(stderr, "xdnd_drop: the window did not answer the drag\n");
        return 1;
    }
    send(target, "XdndDrop", 0, CurrentTime, 0, 0);
    if (!await("XdndFinished", uri, 5)) {
        fprintf(stderr, "xdnd_drop: the window did not finish the drop\n");
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}

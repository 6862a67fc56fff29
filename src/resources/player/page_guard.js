// Keeps the page a plain player surface: no context menu, no help, no history keys, no
// reloading, no new windows; Alt+F4 closes a tiny blank dialog instead of the host window.
function zelvStop(e) {
    e.cancelBubble = true;
    e.returnValue = false;
    if (e.preventDefault) e.preventDefault();
    if (e.stopPropagation) e.stopPropagation();
    try { e.keyCode = 0; } catch (ignored) {}
    return false;
}
document.oncontextmenu = function () { return false; };
document.onhelp = function () { return false; };
window.onhelp = function () { return false; };
document.onkeydown = function (ev) {
    var e = ev || window.event;
    var k = e.keyCode;
    if (e.altKey && k == 115) {
        window.showModelessDialog("about:blank", "", "dialogWidth:1px;dialogHeight:1px");
        return zelvStop(e);
    }
    if (e.altKey && (k == 37 || k == 39)) return zelvStop(e);
    if (k == 112 || k == 116 || k == 122) return zelvStop(e);
    if (e.ctrlKey && (k == 78 || k == 82)) return zelvStop(e);
    if (e.shiftKey && k == 121) return zelvStop(e);
    return true;
};
document.onclick = function (ev) {
    var e = ev || window.event;
    var t = e.target || e.srcElement;
    while (t && t.tagName != "A") t = t.parentNode;
    if (t && e.shiftKey) return zelvStop(e);
    return true;
};

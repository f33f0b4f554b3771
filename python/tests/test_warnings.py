"""The warning bridge: the library's warnings reach Python as StylusWarning with their number,
routine and text, pointing at the caller's line; the library still counts them and prints
their lines; warning filters, msgmod and a handler of the program act on them."""

import warnings

import pytest

import stylus

PINK = " <<<< Warning   2: Incorrect parameter in color!   (PINK)"


def test_a_warning_reaches_python_and_the_library_still_prints_and_counts_it(capfd):
    with stylus.session("VIRT", picture=False) as s:
        with pytest.warns(stylus.StylusWarning) as caught:
            stylus.color("PINK")
            s.curve([0, 1], [0, 1])  # before graf
    out = capfd.readouterr().out
    assert out.startswith(PINK + "\n <<<< Warning   3: Incorrect level in curve!   (   1)\n")
    assert "Warnings: 2 " in out
    first, second = (w.message for w in caught)
    assert (first.number, first.routine, first.line) == (2, "color", PINK)
    assert str(first) == "Warning   2: Incorrect parameter in color!   (PINK)"
    assert (second.number, second.routine) == (3, "curve")
    # Both point at this file: the session's own methods are looked through.
    assert {w.filename for w in caught} == {__file__}
    assert s.result.warnings == stylus.nwarns() == 2


def test_text_off_the_page_is_warning_zero():
    with stylus.session("VIRT", picture=False):
        with pytest.warns(stylus.StylusWarning, match="Startpoint") as caught:
            stylus.messag("Far", -100, 10)
    assert caught[0].message.number == 0 and caught[0].message.routine == "messag"


def test_messages_off_no_python_warning_but_counted(capfd):
    stylus.msgmod("OFF")
    with stylus.session("VIRT", picture=False) as s:
        with warnings.catch_warnings():
            warnings.simplefilter("error")
            stylus.color("PINK")
    stylus.msgmod("ON")
    assert capfd.readouterr().out == ""
    assert s.result.warnings == 1


def test_as_errors_the_call_raises_and_the_session_still_ends():
    with warnings.catch_warnings():
        warnings.simplefilter("error", stylus.StylusWarning)
        with pytest.raises(stylus.StylusWarning, match="Incorrect parameter in setclr"):
            with stylus.session("PNG", file="err.png") as s:
                stylus.setclr(300)
                raise AssertionError("not reached: setclr raises")
    assert s.result.file == "err.png" and s.result.warnings == 1


def test_print_lines_off_leaves_the_lines_to_python(capfd):
    stylus.print_lines(False)
    with stylus.session("VIRT", picture=False):
        with pytest.warns(stylus.StylusWarning, match="PINK"):
            stylus.color("PINK")
    stylus.print_lines(True)
    out = capfd.readouterr().out
    assert "Warning   2" not in out and "Warnings: 1 " in out


def test_a_handler_of_the_program_replaces_the_bridge(capfd):
    heard = []

    def handler(number, routine, line):
        heard.append((number, routine, line))
        return 1  # the library prints nothing

    stylus.setwrn(handler)
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        stylus.metafl("NONE")
    assert heard == [(2, "metafl", " <<<< Warning   2: Incorrect parameter in metafl!   (NONE)")]
    assert capfd.readouterr().out == ""

    def broken(number, routine, line):
        raise KeyError("from the handler")

    stylus.setwrn(broken)
    with pytest.raises(KeyError, match="from the handler"):
        stylus.metafl("NONE")
    stylus.setwrn(None)  # the bridge again
    with pytest.warns(stylus.StylusWarning):
        stylus.metafl("NONE")


def test_as_errors_a_warning_of_disini_leaves_no_session_open():
    with warnings.catch_warnings():
        warnings.simplefilter("error", stylus.StylusWarning)
        with pytest.raises(stylus.StylusWarning, match="File error in disini"):
            with stylus.session("POST", file="no/such/folder/x.ps"):
                raise AssertionError("not reached")
        with pytest.raises(stylus.StylusWarning, match="Incorrect parameter in metafl"):
            with stylus.session("NONE"):
                raise AssertionError("not reached")
    with stylus.session("POST", file="next.ps") as s:
        pass
    assert s.result.file == "next.ps"

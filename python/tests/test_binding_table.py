"""The table of the binding against the public header: every routine of stylus.h has a line,
with the argument kinds and names of its prototype, and its docstring from the reference
pages."""

import re

import pytest

import stylus
from stylus import _docs, _routines
from conftest import SOURCE

# C types of the header and the kinds of the table that may stand for them.
KINDS_OF = {
    "void": {"void"},
    "int": {"int", "count"},
    "float": {"float"},
    "const char*": {"text", "file"},
    "const float*": {"floats"},
    "float*": {"floats_inout"},
    "const int*": {"ints"},
    "stylus_warning_fn": {"handler"},
}


def header_prototypes(text):
    """name -> (result type, [(type, name)]) of the routines without a trailing underscore."""
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    found = {}
    for result, name, args in re.findall(
        r"STYLUS_API\s+((?:const\s+)?\w+\s*\**)\s*(\w+)\s*\(([^)]*)\)\s*;", text
    ):
        if name.endswith("_"):
            continue
        params = []
        for arg in args.split(","):
            arg = " ".join(arg.split())
            if arg in ("", "void"):
                continue
            m = re.fullmatch(r"(.*?)\s*(\w+)", arg)
            params.append((m.group(1).replace(" *", "*").strip(), m.group(2)))
        found[name] = (result.replace(" *", "*").strip(), params)
    return found


def test_reads_the_header():
    protos = header_prototypes((SOURCE / "plot" / "stylus.h").read_text())
    assert protos["graf"] == ("void", [("float", n) for n in
                              ("xa", "xe", "xor_", "xstp", "ya", "ye", "yor", "ystp")])
    assert protos["dddate"] == ("const char*", [])
    assert protos["setwrn"] == ("void", [("stylus_warning_fn", "handler")])
    assert "graf_" not in protos and len(protos) >= 47


def disagreements(protos, table_text):
    """What the table gets wrong about the header, one text each."""
    table = {name: (result, args) for name, result, args in _routines.parse_table(table_text)}
    found = [f"{n}: in stylus.h, no binding" for n in sorted(set(protos) - set(table))]
    found += [f"{n}: bound, not in stylus.h" for n in sorted(set(table) - set(protos))]
    for name in sorted(set(protos) & set(table)):
        (c_result, c_args), (result, args) = protos[name], table[name]
        if result not in KINDS_OF.get(c_result, ()):
            found.append(f"{name}: result {result}, header {c_result}")
        if len(args) != len(c_args):
            found.append(f"{name}: {len(args)} arguments, header {len(c_args)}")
            continue
        for (kind, arg), (c_type, c_name) in zip(args, c_args):
            if kind not in KINDS_OF.get(c_type, ()) or arg != c_name.rstrip("_"):
                found.append(f"{name}: {kind} {arg}, header {c_type} {c_name}")
    return found


def test_every_routine_has_a_line_that_agrees_with_its_prototype():
    protos = header_prototypes((SOURCE / "plot" / "stylus.h").read_text())
    assert disagreements(protos, _routines.ROUTINES) == []


def test_the_check_finds_each_kind_of_disagreement():
    protos = header_prototypes((SOURCE / "plot" / "stylus.h").read_text())
    protos["newrtn"] = ("void", [("int", "n")])
    doctored = (_routines.ROUTINES.replace("void curve(floats x, floats y, count n)",
                                           "void curve(floats x, ints y, count n)")
                .replace("int nlmess(text text)", "float nlmess(text text)")
                .replace("void hname(int n)", "void hname(int n, int m)")
                .replace("void setclr(int ncol)", "void setclr(int color)"))
    assert disagreements(protos, doctored) == [
        "newrtn: in stylus.h, no binding",
        "curve: ints y, header const float* y",
        "hname: 2 arguments, header 1",
        "nlmess: result float, header int",
        "setclr: int color, header int ncol",
    ]
    with pytest.raises(ValueError, match="unknown kind"):
        _routines.parse_table("void curve(floatz x)")


def test_every_routine_is_bound_with_its_signature_and_reference_text():
    docs = _docs.docstrings()
    for name, result, args in _routines.parse_table():
        f = getattr(stylus, name)
        assert list(f.__signature__.parameters) == [a for _, a in args]
        assert name in docs, f"{name} has no section in docs/*.md"
        assert f.__doc__.startswith(docs[name]), name
    assert "The x axis runs from `xa`" in stylus.graf.__doc__
    assert "Fortran:" not in stylus.graf.__doc__ and "```" not in stylus.graf.__doc__
    assert stylus.curve.__signature__.parameters["n"].default is None
    assert stylus.setwrn.__doc__.startswith("setwrn: a handler for the warnings.")

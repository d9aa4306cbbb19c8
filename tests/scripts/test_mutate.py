#!/usr/bin/env python3
"""scripts/mutate: which mutants its rules make of a piece of code, that the same seed draws
the same mutants, and that a file always gets its bytes back."""

import subprocess
import sys
import tempfile
import types
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "mutate"


def load_script():
    # The script has no .py ending: its text is run in a module of its own.
    module = types.ModuleType("mutate")
    module.__file__ = str(SCRIPT)
    exec(compile(SCRIPT.read_text(encoding="utf-8"), str(SCRIPT), "exec"), module.__dict__)
    return module


mutate = load_script()


def in_function(body):
    return "int f(int a, int b)\n{\n" + "".join(f"    {line}\n" for line in body.split("\n")) + "}\n"


def changes(text, file="src/engine/Sample.cpp"):
    return {(m.rule, m.original, m.mutated) for m in mutate.mutants_of(text, file, "engine")}


# name, code, mutants it must give, mutants it must not give
RULE_ROWS = [
    ("less than: boundary and negation", in_function("return a < b;"),
     {("relational", "<", "<="), ("relational", "<", ">=")}, set()),
    ("equality negated", in_function("return a == b;"), {("relational", "==", "!=")}, set()),
    ("template brackets are no comparison", in_function("std::vector<int> v(a);\nreturn std::map<int, int>().size();"),
     set(), {("relational", "<", "<="), ("relational", ">", ">=")}),
    ("stream and arrow are no comparison", in_function("out << p->value >> b;"),
     set(), {("relational", ">", ">="), ("relational", "<", "<="), ("arithmetic", "-", "+")}),
    ("comment untouched", in_function("return a; // a < b, true"),
     set(), {("relational", "<", "<="), ("boolean", "true", "false")}),
    ("block comment untouched", in_function("/* a < b */ return a;"), set(), {("relational", "<", "<=")}),
    ("string untouched", in_function('g("a < b", a);'), set(), {("relational", "<", "<=")}),
    ("raw string untouched", in_function('g(R"x(a < b ")x", a);\nreturn a > b;'), {("relational", ">", ">=")},
     {("relational", "<", "<=")}),
    ("character untouched", in_function("return a == '!' ? 1 : 2;"), {("relational", "==", "!=")},
     {("logical", "!", "")}),
    ("digit separator is no character", in_function("return a < 4'000;"),
     {("relational", "<", "<=")}, {("constant", "4", "5"), ("constant", "4", "3")}),
    ("preprocessor untouched", "#define LIMIT 3\n#if LIMIT > 1\n#endif\n" + in_function("return a;"),
     set(), {("constant", "3", "4"), ("relational", ">", ">=")}),
    ("a branch the compiler leaves out here untouched",
     "#ifdef __cplusplus\n" + in_function("return a + b;") + "#else\n" + in_function("return a * b;") + "#endif\n",
     {("arithmetic", "+", "-")}, {("arithmetic", "*", "/")}),
    ("an #elif after the branch taken untouched",
     "#if !defined(__cplusplus)\n" + in_function("return a * b;") + "#elif defined __cplusplus && !defined(__NO_SUCH_MACRO__)\n"
     + in_function("return a == b;") + "#else\n" + in_function("return a + b;") + "#endif\n",
     {("relational", "==", "!=")}, {("arithmetic", "*", "/"), ("arithmetic", "+", "-")}),
    ("a branch inside one left out untouched",
     "#ifndef __cplusplus\n#ifdef __cplusplus\n" + in_function("return a + b;") + "#endif\n#endif\n", set(),
     {("arithmetic", "+", "-")}),
    ("both branches of a build option changed",
     "#ifdef TAGSMITH_HAVE_X11\n" + in_function("return a + b;") + "#else\n" + in_function("return a * b;") + "#endif\n",
     {("arithmetic", "+", "-"), ("arithmetic", "*", "/")}, set()),
    ("constant one more and one less", in_function("return a + 7;"),
     {("constant", "7", "8"), ("constant", "7", "6"), ("arithmetic", "+", "-")}, set()),
    ("suffixed zero stays unsigned", in_function("return a + 0u;"), {("constant", "0u", "1u")},
     {("constant", "0u", "-1u")}),
    ("template argument kept", in_function("std::array<int, 3> v{};\nreturn v[0];"), set(),
     {("constant", "3", "4")}),
    ("constant table kept", "constexpr int kTable[] = { 1, 2 };\n" + in_function("return kTable[a];"),
     set(), {("constant", "2", "3")}),
    ("enumerator kept", "enum class Kind : int { First = 1 };\n" + in_function("return a;"), set(),
     {("constant", "1", "2")}),
    ("class constant changed", "struct Limits\n{\n    static constexpr int kMax = 9;\n};\n" + in_function("return a;"),
     {("constant", "9", "10")}, set()),
    ("logical operator swapped", in_function("return a && b;"), {("logical", "&&", "||")}, set()),
    ("negation dropped", in_function("return !a;"), {("logical", "!", "")}, set()),
    ("inequality keeps its !", in_function("return a != b;"), set(), {("logical", "!", "")}),
    ("boolean swapped", in_function("return true;"), {("boolean", "true", "false")}, set()),
    ("increment turned", in_function("++a;\nreturn a;"), {("arithmetic", "++", "--")}, set()),
    ("compound assignment turned", in_function("a += b;\nreturn a;"), {("arithmetic", "+=", "-=")}, set()),
    ("text joined keeps its +", in_function('s = t + "x";\ns += u"y";\ns += static_cast<char>(a);'), set(),
     {("arithmetic", "+", "-"), ("arithmetic", "+=", "-=")}),
    ("call dropped", in_function("m_list.append(a);\nreturn a;"), {("statement", "m_list.append(a);", ";")}, set()),
    ("assignment dropped", in_function("m_count = a + b;\nreturn a;"), {("statement", "m_count = a + b;", ";")}, set()),
    ("call of a name that starts like a keyword dropped", in_function("doLayout();\nreturn a;"),
     {("statement", "doLayout();", ";")}, set()),
    ("signal dropped", in_function("Q_EMIT changed(a);"), {("statement", "Q_EMIT changed(a);", ";")}, set()),
    ("body of if dropped", in_function("if (a)\n    g(b);"), {("statement", "g(b);", ";")}, set()),
    ("declaration kept", in_function("QString text = g(a);\nreturn a;"), set(),
     {("statement", "QString text = g(a);", ";")}),
    ("return kept", in_function("return g(a);"), set(), {("statement", "return g(a);", ";")}),
    ("macro kept", in_function("Q_UNUSED(a);\nreturn b;"), set(), {("statement", "Q_UNUSED(a);", ";")}),
    ("continued call kept", in_function("g(a,\n  h(b));"), set(), {("statement", "h(b));", ";")}),
    ("declaration in a class kept", "struct S\n{\n    S();\n    void g(int a, int b);\n};\n", set(),
     {("statement", "S();", ";"), ("swap", "int a, int b", "int b, int a")}),
    ("two arguments swapped", in_function("return g(a, b + 1);"), {("swap", "a, b + 1", "b + 1, a")}, set()),
    ("comma in a string parts no arguments", in_function('return g(f("x, y"), b);'),
     {("swap", 'f("x, y"), b', 'b, f("x, y")')}, set()),
    ("commuting arguments kept", in_function("return std::max(a, b);"), set(), {("swap", "a, b", "b, a")}),
    ("text and number kept in place", in_function('return g("x", 1);'), set(), {("swap", '"x", 1', '1, "x"')}),
    ("three arguments kept", in_function("return g(a, b, 1);"), set(), {("swap", "a, b", "b, a")}),
]


class Rules(unittest.TestCase):
    def test_rules(self):
        for name, code, wanted, unwanted in RULE_ROWS:
            with self.subTest(name):
                made = changes(code)
                self.assertLessEqual(wanted, made)
                self.assertFalse(unwanted & made, f"unwanted in {sorted(made)}")

    def test_mutant_changes_only_its_token(self):
        code = in_function("return a < b;")
        mutant = next(m for m in mutate.mutants_of(code, "src/engine/Sample.cpp", "engine") if m.mutated == "<=")
        self.assertEqual(mutate.mutated_text(code, mutant), in_function("return a <= b;"))
        self.assertEqual((mutant.line, mutant.line_text), (3, "return a < b;"))

    def test_files_without_code_of_their_own(self):
        rows = [("generated", "src/engine/Table.cpp", "// Generated by a tool\n" + in_function("return a < b;")),
                ("header of declarations", "src/engine/Sample.h", "#pragma once\nbool g(bool on = true);\n")]
        for name, file, code in rows:
            with self.subTest(name):
                self.assertEqual(mutate.mutants_of(code, file, "engine"), [])

    def test_header_with_inline_code(self):
        code = "#pragma once\nclass C\n{\npublic:\n    bool on() const { return m_count > 0; }\n};\n"
        self.assertIn(("relational", ">", ">="), changes(code, "src/engine/Sample.h"))


class Drawing(unittest.TestCase):
    def listing(self, seed):
        return subprocess.run([sys.executable, str(SCRIPT), "--seed", str(seed), "--count", "20", "--list"],
                              capture_output=True, text=True, check=True).stdout

    def test_same_seed_same_mutants(self):
        first = self.listing(3)
        self.assertEqual(first.count("\n"), 21)
        self.assertEqual(first, self.listing(3))
        self.assertNotEqual(first, self.listing(4))


class Restoring(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.root = Path(self.folder.name)
        self.addCleanup(setattr, mutate, "ROOT", mutate.ROOT)
        mutate.ROOT = self.root
        self.source = self.root / "Sample.cpp"
        self.text = in_function("return a < b;")
        self.source.write_text(self.text)
        self.journal = self.root / "journal.json"
        self.mutant = next(m for m in mutate.mutants_of(self.text, "Sample.cpp", "engine") if m.rule == "relational")

    def test_written_back_after_an_error(self):
        with self.assertRaises(KeyboardInterrupt):
            with mutate.MutatedFile(self.mutant, self.journal):
                self.assertNotEqual(self.source.read_text(), self.text)
                raise KeyboardInterrupt
        self.assertEqual(self.source.read_text(), self.text)
        self.assertFalse(self.journal.exists())

    def test_run_killed_outright_restored_by_the_next(self):
        mutate.MutatedFile(self.mutant, self.journal).__enter__()
        mutate.restore_from_journal(self.journal)
        self.assertEqual(self.source.read_text(), self.text)
        self.assertFalse(self.journal.exists())

    def test_changed_source_refused(self):
        self.source.write_text(in_function("return a;"))
        with self.assertRaises(RuntimeError):
            with mutate.MutatedFile(self.mutant, self.journal):
                pass
        self.assertEqual(self.source.read_text(), in_function("return a;"))


class Equivalents(unittest.TestCase):
    def read(self, text):
        with tempfile.NamedTemporaryFile("w", suffix=".txt") as listing:
            listing.write(text)
            listing.flush()
            return mutate.read_equivalents(Path(listing.name))

    def test_listed_mutant_matches_by_line_text(self):
        equivalents = self.read("# comment\nfile = src/engine/Sample.cpp\nline =   return a < b;\n"
                                "original = <\nmutated = <=\nwhy = a equals b never\n")
        code = in_function("return a < b;")
        marked = {m.mutated for m in mutate.mutants_of(code, "src/engine/Sample.cpp", "engine")
                  if mutate.is_equivalent(m, equivalents)}
        self.assertEqual(marked, {"<="})

    def test_record_without_reason_refused(self):
        with self.assertRaises(SystemExit):
            self.read("file = a.cpp\nline = x;\noriginal = <\nmutated = <=\n")

    def test_project_list_names_lines_that_exist(self):
        for file, line, original, mutated in mutate.read_equivalents(mutate.EQUIVALENTS):
            with self.subTest(f"{file}: {line}"):
                lines = {text.strip() for text in (mutate.ROOT / file).read_text().splitlines()}
                self.assertIn(line, lines)
                self.assertIn(original, line)


if __name__ == "__main__":
    unittest.main()

"""The mutation points of a C++ source, found in its syntax tree by libclang.

A point is a range of the source and the texts that may replace it. Ranges
nest (a literal inside a comparison inside a return) but never cross, since
each is one node of the tree.
"""

import clang.cindex as ci

RELATIONAL = {"<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"], "==": ["!="], "!=": ["=="]}
ARITHMETIC = {"+": "-", "-": "+"}
LOGICAL = {"&&": "||", "||": "&&"}
# Calls that switch an output or start a timer: deleting one leaves a lamp,
# motor, valve or buzzer as it was, or a timer idle.
SWITCHING_CALLS = {"sig_on", "sig_off", "buzzer", "main_motor_start", "main_motor_stop", "timer_start", "timer_set_sequence"}
STATEMENT_PARENTS = {ci.CursorKind.COMPOUND_STMT, ci.CursorKind.IF_STMT, ci.CursorKind.FOR_STMT,
                     ci.CursorKind.WHILE_STMT, ci.CursorKind.DO_STMT, ci.CursorKind.CASE_STMT,
                     ci.CursorKind.DEFAULT_STMT}
INTEGRAL = {ci.TypeKind.INT, ci.TypeKind.UINT, ci.TypeKind.SHORT, ci.TypeKind.USHORT, ci.TypeKind.LONG,
            ci.TypeKind.ULONG, ci.TypeKind.UCHAR, ci.TypeKind.CHAR_S, ci.TypeKind.SCHAR, ci.TypeKind.LONGLONG,
            ci.TypeKind.ULONGLONG}


class CMutant:
    def __init__(self, operator, replacement):
        self.operator = operator
        self.replacement = replacement  # the range's new text, children as written
        self.id = 0
        self.not_built = ""  # the reason, when this mutant cannot be switched at run time


class CPoint:
    """A range [start, end) of the source; `parts` says how a mutant's text is made."""

    def __init__(self, start, end, line, column, end_line, end_column):
        self.start, self.end = start, end
        self.line, self.column, self.end_line, self.end_column = line, column, end_line, end_column
        self.mutants = []
        self.statement = False  # a deleted call: the whole range becomes (void)0
        self.fixed_reason = ""


def _integral(type_):
    return type_.get_canonical().kind in INTEGRAL


def _operator_token(cursor, lhs):
    for token in cursor.get_tokens():
        if token.extent.start.offset >= lhs.extent.end.offset:
            return token
    return None


def _literal_value(text):
    digits = text.rstrip("uUlL")
    try:
        return int(digits, 0)
    except ValueError:
        return None


def _constexpr_use(cursor):
    target = cursor.referenced
    if target is None or target.kind != ci.CursorKind.VAR_DECL or not _integral(target.type):
        return False
    return any(t.spelling == "constexpr" for t in target.get_tokens())


def _constant_context(ancestors):
    """Why a node in these ancestors cannot be switched at run time, or ''."""
    for i, node in enumerate(ancestors):
        if node.kind == ci.CursorKind.CASE_STMT and i + 1 < len(ancestors):
            if list(node.get_children())[0] == ancestors[i + 1]:
                return "a case label must be a constant expression"
        if node.kind == ci.CursorKind.ENUM_CONSTANT_DECL:
            return "an enumerator's value is fixed at compile time"
        if node.kind == ci.CursorKind.STATIC_ASSERT:
            return "a static_assert is evaluated at compile time"
        if node.kind == ci.CursorKind.VAR_DECL and any(t.spelling == "constexpr" for t in node.get_tokens()):
            return "a constexpr initialiser is evaluated at compile time"
        if node.kind in (ci.CursorKind.TEMPLATE_NON_TYPE_PARAMETER, ci.CursorKind.TYPE_REF):
            return "a template argument is fixed at compile time"
    return ""


class CFinder:
    def __init__(self, path, source):
        self.path = path
        self.source = source
        self.points = []

    def _point(self, cursor):
        e = cursor.extent
        p = CPoint(e.start.offset, e.end.offset, e.start.line, e.start.column, e.end.line, e.end.column)
        self.points.append(p)
        return p

    def _text(self, a, b):
        return self.source[a:b].decode()

    def _array_size(self, c):
        if self.source[: c.extent.start.offset].rstrip().endswith(b"["):
            return "an array's size is fixed at compile time"
        return ""

    def walk(self, cursor, ancestors):
        for child in cursor.get_children():
            loc = child.extent.start
            if loc.file is None or loc.file.name != self.path:
                continue
            self.visit(child, ancestors + [cursor])
            self.walk(child, ancestors + [cursor])

    def visit(self, c, ancestors):
        k = c.kind
        if k == ci.CursorKind.BINARY_OPERATOR:
            self.binary(c)
        elif k == ci.CursorKind.UNARY_OPERATOR:
            tokens = list(c.get_tokens())
            if tokens and tokens[0].spelling == "!":
                p = self._point(c)
                p.mutants.append(CMutant("LogicalNot", ("keep", tokens[0].extent.end.offset, p.end, "(", ")")))
        elif k == ci.CursorKind.INTEGER_LITERAL:
            self.literal(c, ancestors)
        elif k == ci.CursorKind.DECL_REF_EXPR and _constexpr_use(c):
            p = self._point(c)
            name = c.spelling
            for text in (f"({name} + 1)", f"({name} - 1)", f"({name} * 2)", "0"):
                p.mutants.append(CMutant("NamedConstant", ("text", text)))
            p.fixed_reason = self._array_size(c) or _constant_context(ancestors + [c])
        elif k == ci.CursorKind.CALL_EXPR and c.spelling in SWITCHING_CALLS and ancestors[-1].kind in STATEMENT_PARENTS:
            p = self._point(c)
            p.statement = True
            p.mutants.append(CMutant("DeletedCall", ("text", "(void)0")))
        elif k == ci.CursorKind.RETURN_STMT:
            self.returned(c)

    def binary(self, c):
        lhs = next(c.get_children())
        token = _operator_token(c, lhs)
        if token is None:
            return
        op = token.spelling
        if op in RELATIONAL:
            names = ["RelationalBoundary", "RelationalNegation"] if len(RELATIONAL[op]) == 2 else ["RelationalNegation"]
            news = RELATIONAL[op]
        elif op in ARITHMETIC:
            names, news = ["ArithmeticOperator"], [ARITHMETIC[op]]
        elif op in LOGICAL:
            names, news = ["LogicalOperator"], [LOGICAL[op]]
        else:
            return
        p = self._point(c)
        for name, new in zip(names, news):
            p.mutants.append(CMutant(name, ("op", token.extent.start.offset, token.extent.end.offset, new)))

    def literal(self, c, ancestors):
        text = self._text(c.extent.start.offset, c.extent.end.offset)
        value = _literal_value(text)
        if value is None:
            return
        p = self._point(c)
        for new in dict.fromkeys((value + 1, value - 1, value * 2, 0)):
            if new != value and new >= 0:
                p.mutants.append(CMutant("IntegerLiteral", ("text", str(new))))
        p.fixed_reason = self._array_size(c) or _constant_context(ancestors + [c])
        if not p.mutants:
            self.points.remove(p)

    def returned(self, c):
        children = list(c.get_children())
        if not children:
            return
        value = children[0]
        kind = value.type.get_canonical().kind
        p = self._point(value)
        if kind == ci.TypeKind.BOOL:
            p.mutants.append(CMutant("ReturnValue", ("keep", p.start, p.end, "!(", ")")))
        elif _integral(value.type):
            text = self._text(p.start, p.end).strip()
            p.mutants.append(CMutant("ReturnValue", ("text", "1" if text == "0" else "0")))
        else:
            self.points.remove(p)


def find_points(path, source, args):
    """The points of the file at `path` (its text `source`, bytes), outermost first."""
    index = ci.Index.create()
    unit = index.parse(path, args=args, unsaved_files=[(path, source)])
    errors = [d for d in unit.diagnostics if d.severity >= ci.Diagnostic.Error]
    if errors:
        raise RuntimeError(f"{path}:{errors[0].location.line}: {errors[0].spelling}")
    finder = CFinder(path, source)
    finder.walk(unit.cursor, [])
    finder.points.sort(key=lambda p: (p.start, -p.end))
    # One mutant per text a range may become (`return 30;` made 0 twice).
    seen = set()
    for p in finder.points:
        kept = []
        for m in p.mutants:
            key = (p.start, p.end, m.replacement) if m.replacement[0] == "text" else id(m)
            if key not in seen:
                seen.add(key)
                kept.append(m)
        p.mutants = kept
    return [p for p in finder.points if p.mutants]

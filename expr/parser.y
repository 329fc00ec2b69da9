/* The grammar of rule texts. The parse evaluates as it goes: every
 * reduction computes the phrase's value from the values of its parts
 * (expr/grammar_actions.h, expr/phrase_values.h), so no tree is built, and
 * the value of the whole text ends in the context's result. Values are
 * texts of the context's pool or fixed literals, so they travel on the
 * value stack as pointers. A context that reads syntax gets the text's
 * tree instead (expr/syntax_tree.h), from the same rules.
 *
 * The parser's stacks grow inside the evaluation context, so a host
 * exception that passes through the parse leaks nothing. */

%require "3.8"
%define api.pure full
%define api.prefix {kova_rules_validator_yy}
%define parse.error custom
%locations
%expect 0

%param {KOVA_EVAL_CONTEXT& ctx} {KOVA_SCANNER& scanner}

%code requires {
#include <cstdint>

#include "expr/grammar_actions.h"

struct KOVA_EVAL_CONTEXT;
class KOVA_SCANNER;
}

%code {
#include <new>
#include <string>

#include "expr/eval_context.h"
#include "expr/phrase_values.h"
#include "expr/scanner.h"
#include "host/kova_atoi.h"

/* The stacks start with 200 entries and double up to 20000; beyond that
 * the parse fails with a stack overflow. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 20000
#define YYSTACK_ALLOC(bytes) ctx.allocate_stack_block(bytes)

static int yylex(KOVA_RULES_VALIDATOR_YYSTYPE* value, KOVA_RULES_VALIDATOR_YYLTYPE* span, KOVA_EVAL_CONTEXT& ctx,
                 KOVA_SCANNER& scanner);
static void yyerror(const KOVA_RULES_VALIDATOR_YYLTYPE* span, KOVA_EVAL_CONTEXT& ctx, KOVA_SCANNER& scanner,
                    const char* message);
}

/* A token's location is its offset in the text, kept as its first
 * column (lines are not counted: a node needs only where its token
 * starts, expr/syntax_tree.h). */
%union {
    int32_t integer;
    const char* text;
    KOVA_PHRASE phrase;
}

%token <integer> INTEGER 258
%token <text> NAME 259 STRING 260
%token USED 261 CEIL_LOG 262 A_MAX 263 A_MIN 264 PORT_NAME 265 QUOTED_STRING 266
%token QUOTIENT 267 CONST_PORT 268 OR 269 AND 270 DIV 271 EXP 272 DOUBLE_DIV 273
%token CEIL_DIV 274 EQUAL_TO 275 NOT_EQUAL_TO 276 GREATER_THAN 277 LESS_THAN 278
%token GREATER_THAN_OR_EQUAL 279 LESS_THAN_OR_EQUAL 280 STR_GREATER_THAN 281
%token STR_LESS_THAN 282 STR_GREATER_THAN_OR_EQUAL 283 STR_LESS_THAN_OR_EQUAL 284

%type <phrase> sexpr
%type <text> arg_expr

/* Loosest first. */
%left '?' ':'
%left OR AND
%left '+' '-'
%left '*' DIV '%' EXP DOUBLE_DIV CEIL_DIV QUOTIENT
%left EQUAL_TO NOT_EQUAL_TO GREATER_THAN LESS_THAN GREATER_THAN_OR_EQUAL LESS_THAN_OR_EQUAL
      STR_GREATER_THAN STR_LESS_THAN STR_GREATER_THAN_OR_EQUAL STR_LESS_THAN_OR_EQUAL
%precedence '!'

%%

top:
    sexpr                                   { kova_action_top(ctx, $1); }
    ;

sexpr:
    NAME '(' arg_expr ')'                   { $$ = kova_action_macro_call(ctx, $1, $3, @1.first_column); }
  | NAME                                    { $$ = kova_action_name(ctx, $1, @1.first_column); }
  | STRING                                  { $$ = kova_action_string(ctx, $1, @1.first_column); }
  | INTEGER                                 { $$ = kova_action_integer(ctx, $1, @1.first_column); }
  | NAME '.' NAME                           { $$ = kova_action_dotted(ctx, $1, $3, @1.first_column); }
  | NAME '.' INTEGER                        { $$ = kova_action_dotted(ctx, $1, kova_integer_text(ctx.pool, $3),
                                                  @1.first_column); }
  | INTEGER '.' NAME                        { $$ = kova_action_dotted(ctx, kova_integer_text(ctx.pool, $1), $3,
                                                  @1.first_column); }
  | INTEGER '.' INTEGER                     { $$ = kova_action_dotted(ctx, kova_integer_text(ctx.pool, $1),
                                                  kova_integer_text(ctx.pool, $3), @1.first_column); }
  | sexpr '?' sexpr ':' sexpr               { $$ = kova_action_choice(ctx, $1, $3, $5, @2.first_column); }
  | QUOTED_STRING '(' NAME ')'              { $$ = kova_action_query(ctx, KOVA_QUERY_STR, $3, @3.first_column); }
  | PORT_NAME '(' NAME ')'                  { $$ = kova_action_query(ctx, KOVA_QUERY_PORT, $3, @3.first_column); }
  | CEIL_LOG '(' sexpr ')'                  { $$ = kova_action_ceil_log(ctx, $3, @1.first_column); }
  | sexpr CEIL_DIV sexpr                    { $$ = kova_action_binary(ctx, KOVA_OP_CEIL_DIV, $1, $3, @2.first_column); }
  | A_MAX '(' sexpr ',' sexpr ')'           { $$ = kova_action_max(ctx, $3, $5, @1.first_column); }
  | A_MIN '(' sexpr ',' sexpr ')'           { $$ = kova_action_min(ctx, $3, $5, @1.first_column); }
  | USED '(' NAME ')'                       { $$ = kova_action_query(ctx, KOVA_QUERY_USED, $3, @3.first_column); }
  | CONST_PORT '(' NAME ')'                 { $$ = kova_action_query(ctx, KOVA_QUERY_CONSTANT, $3, @3.first_column); }
  | sexpr '+' sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_ADD, $1, $3, @2.first_column); }
  | sexpr '-' sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_SUBTRACT, $1, $3, @2.first_column); }
  | sexpr EXP sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_EXP, $1, $3, @2.first_column); }
  | sexpr QUOTIENT sexpr                    { $$ = kova_action_binary(ctx, KOVA_OP_QUOTIENT, $1, $3, @2.first_column); }
  | sexpr DIV sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_DIV, $1, $3, @2.first_column); }
  | sexpr DOUBLE_DIV sexpr                  { $$ = kova_action_binary(ctx, KOVA_OP_DOUBLE_DIV, $1, $3,
                                                  @2.first_column); }
  | sexpr '%' sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_REMAINDER, $1, $3,
                                                  @2.first_column); }
  | sexpr '*' sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_MULTIPLY, $1, $3, @2.first_column); }
  | '!' sexpr                               { $$ = kova_action_not(ctx, $2, @1.first_column); }
  | sexpr OR sexpr                          { $$ = kova_action_binary(ctx, KOVA_OP_OR, $1, $3, @2.first_column); }
  | sexpr AND sexpr                         { $$ = kova_action_binary(ctx, KOVA_OP_AND, $1, $3, @2.first_column); }
  | sexpr EQUAL_TO sexpr                    { $$ = kova_action_binary(ctx, KOVA_OP_EQUAL, $1, $3, @2.first_column); }
  | sexpr NOT_EQUAL_TO sexpr                { $$ = kova_action_binary(ctx, KOVA_OP_NOT_EQUAL, $1, $3,
                                                  @2.first_column); }
  | sexpr GREATER_THAN sexpr                { $$ = kova_action_binary(ctx, KOVA_OP_GREATER, $1, $3, @2.first_column); }
  | sexpr GREATER_THAN_OR_EQUAL sexpr       { $$ = kova_action_binary(ctx, KOVA_OP_GREATER_OR_EQUAL, $1, $3,
                                                  @2.first_column); }
  | sexpr LESS_THAN sexpr                   { $$ = kova_action_binary(ctx, KOVA_OP_LESS, $1, $3, @2.first_column); }
  | sexpr LESS_THAN_OR_EQUAL sexpr          { $$ = kova_action_binary(ctx, KOVA_OP_LESS_OR_EQUAL, $1, $3,
                                                  @2.first_column); }
  | sexpr STR_GREATER_THAN sexpr            { $$ = kova_action_binary(ctx, KOVA_OP_STR_GREATER, $1, $3,
                                                  @2.first_column); }
  | sexpr STR_GREATER_THAN_OR_EQUAL sexpr   { $$ = kova_action_binary(ctx, KOVA_OP_STR_GREATER_OR_EQUAL, $1, $3,
                                                  @2.first_column); }
  | sexpr STR_LESS_THAN sexpr               { $$ = kova_action_binary(ctx, KOVA_OP_STR_LESS, $1, $3, @2.first_column); }
  | sexpr STR_LESS_THAN_OR_EQUAL sexpr      { $$ = kova_action_binary(ctx, KOVA_OP_STR_LESS_OR_EQUAL, $1, $3,
                                                  @2.first_column); }
  | '(' sexpr ')'                           { $$ = kova_action_grouped(ctx, $2); }
  ;

arg_expr:
    NAME                                    { $$ = $1; }
  | NAME ',' arg_expr                       { $$ = kova_join_texts(ctx.pool, {$1, ",", $3}); }
  ;

%%

/* Takes the next token from the scanner and gives INTEGER, NAME and
 * STRING their values; texts are copied into the pool because the
 * scanner's buffer is reused for the next token. */
static int yylex(KOVA_RULES_VALIDATOR_YYSTYPE* value, KOVA_RULES_VALIDATOR_YYLTYPE* span, KOVA_EVAL_CONTEXT& ctx,
                 KOVA_SCANNER& scanner) {
    KOVA_TOKEN token = scanner.next();
    span->first_column = static_cast<int>(token.offset);
    if (token.code == INTEGER) value->integer = kova_atoi(token.text);
    if (token.code == NAME || token.code == STRING) value->text = ctx.pool.copy(token.text, token.length);
    return token.code;
}

/* How a token is named in messages: "$" for the end of the text. */
static const char* display_name(yysymbol_kind_t symbol) {
    return symbol == YYSYMBOL_YYEOF ? "$" : yysymbol_name(symbol);
}

/* "parse error", with the tokens that could have followed when there are
 * fewer than 5 of them. */
static std::string syntax_error_text(const yypcontext_t* parse_state) {
    enum { MOST_LISTED = 4 };
    yysymbol_kind_t expected[MOST_LISTED];
    /* 0 when nothing, or more than MOST_LISTED tokens, could follow. */
    int count = yypcontext_expected_tokens(parse_state, expected, MOST_LISTED);
    std::string text = "parse error";
    for (int i = 0; i < count; ++i) {
        text += i == 0 ? ", expecting `" : " or `";
        text += display_name(expected[i]);
        text += "'";
    }
    return text;
}

/* A syntax error ends the parse: the result becomes "" and one message
 * is posted. */
static int yyreport_syntax_error(const yypcontext_t* parse_state, KOVA_EVAL_CONTEXT& ctx, KOVA_SCANNER&) {
    std::string text;
    try {
        text = syntax_error_text(parse_state);
    } catch (const std::bad_alloc&) {
        text = "parse error; also virtual memory exceeded";
    }
    ctx.result.clear();
    ctx.post_parse_failure(text, static_cast<uint32_t>(yypcontext_location(parse_state)->first_column));
    return 0;
}

/* The parser calls this only when its stacks cannot grow any further. */
static void yyerror(const KOVA_RULES_VALIDATOR_YYLTYPE* span, KOVA_EVAL_CONTEXT& ctx, KOVA_SCANNER&, const char*) {
    ctx.result.clear();
    ctx.post_parse_failure("parser stack overflow", static_cast<uint32_t>(span->first_column));
}

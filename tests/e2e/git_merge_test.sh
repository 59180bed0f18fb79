#!/bin/bash
# A project under git, set up as the README's "Projects in git" says: git
# shows its changes through tellwright-cli (textconv, and diff as the
# external diff command) and merges it with tellwright-cli's merge driver.
# Two branches change the example project: one change each that merges
# cleanly, and one line both change differently.
#
# Usage: git_merge_test.sh TELLWRIGHT_CLI EXAMPLE_PROJECT
# Exit codes: 0 passed, 1 failed, 2 usage error, 77 git is missing (CTest
# counts that as skipped).
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 TELLWRIGHT_CLI EXAMPLE_PROJECT" >&2
  exit 2
fi
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
example=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
[ -x "$cli" ] || { echo "FAIL: $cli is not an executable file" >&2; exit 2; }
[ -f "$example" ] || { echo "FAIL: example project $example does not exist" >&2; exit 2; }
command -v git >/dev/null 2>&1 || { echo "SKIP: git is missing (Debian package git)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The merged project as text, and a check that it holds a record.
shows() { "$cli" show story.tlwdlg | grep -qF -- "$1" || fail "the merged project lacks: $1"; }
# Replaces a line of the project file (texts are plain ASCII here).
edit() { LC_ALL=C sed -i "s|^$1\$|$2|" story.tlwdlg; }

# The user's and the system's git settings stay out of the test.
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1 GIT_AUTHOR_NAME=Writer GIT_AUTHOR_EMAIL=writer@example.org \
  GIT_COMMITTER_NAME=Writer GIT_COMMITTER_EMAIL=writer@example.org
cd "$work"
git init -q -b main repo && cd repo || fail "git init"

# The configuration the README documents.
echo '*.tlwdlg diff=tellwright merge=tellwright' >.gitattributes
git config diff.tellwright.textconv "'$cli' show"
git config merge.tellwright.name "Tellwright project merge"
git config merge.tellwright.driver "'$cli' merge %O %A %B -o %A --path %P"

cp "$example" story.tlwdlg
git add .gitattributes story.tlwdlg && git commit -qm "The lighthouse" || fail "first commit"

git checkout -q -b feature
edit 'Come back when the fog lifts.' 'Come back tomorrow.'
edit 'voice\\mara_bye_01.ogg' 'voice\\mara_bye_02.ogg'
git commit -qam "Mara says goodbye differently" || fail "commit on feature"

git checkout -q main
edit 'Come back when the fog lifts.' 'Come back when the fog has lifted.'
edit 'Nice lamp.' 'What a nice lamp.'
git commit -qam "Ada likes the lamp" || fail "commit on main"

# Diffs as records: through textconv, and through the external diff command.
git diff main feature -- story.tlwdlg | grep -qF '+  Line 6: Talkline Mara: "Come back tomorrow."' ||
  fail "git diff through textconv does not show the changed talkline"
external=$(git -c diff.tellwright.command="'$cli' diff" diff main feature -- story.tlwdlg) ||
  fail "git diff with the external diff command stopped"
grep -qF -- '--- a/story.tlwdlg' <<<"$external" && grep -qF 'changed: soundFile' <<<"$external" ||
  fail "the external diff shows no changed sound file: $external"

# A branch that changed nothing main changed merges cleanly.
git checkout -q -b sound main~1
edit 'Fresh herring, three for a copper. Or a caf. au lait, if you have beans.' 'Herring!'
git commit -qam "Tobin is brief" || fail "commit on sound"
git checkout -q main
git merge -q --no-edit sound >merge-clean.log 2>&1 || fail "a clean merge failed: $(cat merge-clean.log)"
shows 'Talkline Tobin: "Herring!"'
shows 'Response 3: "What a nice lamp."'

# Both changed Mara's last line: a conflict, ending with 1 as git expects.
git merge --no-edit feature >merge.log 2>&1
status=$?
[ $status -eq 1 ] || fail "git merge ended with $status, not 1: $(cat merge.log)"
grep -qF 'story.tlwdlg: conflict: Lighthouse_Greeting, line 6: both sides changed these lines' merge.log ||
  fail "the merge did not list the conflict: $(cat merge.log)"
grep -q '^<<<<<<< HEAD' story.tlwdlg && fail "git merged the file as text, not with the driver"
"$cli" resave story.tlwdlg -o - >/dev/null || fail "the merged project does not load"
shows '  Line 6: Remark "<<<<<<< ours"'
shows '  Line 7: Talkline Mara: "Come back when the fog has lifted."'
shows '  Line 8: Remark "======="'
shows '  Line 9: Talkline Mara: "Come back tomorrow."'
shows '  Line 10: Remark ">>>>>>> theirs"'
shows 'sound "voice\mara_bye_02.ogg"'
shows 'Response 3: "What a nice lamp."'
shows 'Talkline Tobin: "Herring!"'
"$cli" lint story.tlwdlg | grep -qF '[merge-conflict]' || fail "the lint does not report the conflict markers"
git status --porcelain | grep -q '^UU story.tlwdlg' || fail "git does not list the project as unmerged"
echo "PASS"

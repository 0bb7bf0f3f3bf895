// The page's only way to the system: zovcfg's card commands with --json, through cockpit.spawn.
// Every answer is the utility's JSON object, refusals included; the exit code says which.

const cockpit = window.cockpit;

// The JSON that this page reads; a later version of zovcfg's JSON is not a mere addition.
const JSON_VERSION = 1;

export const EXIT_CANNOT_RUN = 2;
export const EXIT_REFUSED = 3;

// What went wrong, for an alert: a title and the utility's own message.
export class ZovcfgFailure extends Error {
    constructor(title, message, kind = null) {
        super(message);
        this.title = title;
        this.kind = kind;
    }
}

function startFailure(args, exception) {
    const command = `zovcfg ${args.join(" ")}`;
    if (exception.problem === "not-found") {
        return new ZovcfgFailure("zovcfg is not installed",
                                 "The program zovcfg was not found on this machine: install the zovcfg package.");
    }
    if (exception.exit_signal) {
        return new ZovcfgFailure("zovcfg was stopped",
                                 `${command} ended on signal ${exception.exit_signal}.`);
    }
    return new ZovcfgFailure("zovcfg could not be started",
                             `${command}: ${exception.message || exception.problem}`);
}

// Runs `zovcfg ARGS --json`; `change` asks for administrative access where the session has it.
// Resolves to { exit, answer }; rejects with a ZovcfgFailure when no answer came.
export async function runZovcfg(args, { change = false } = {}) {
    const options = { err: "message" };
    if (change) {
        options.superuser = "try";
    }
    const process = cockpit.spawn(["zovcfg", ...args, "--json"], options);
    let output = "";
    process.stream(data => { output += data });
    let exit = 0;
    let errors = "";
    try {
        await process;
    } catch (exception) {
        if (typeof exception.exit_status !== "number") {
            throw startFailure(args, exception);
        }
        exit = exception.exit_status;
        errors = exception.message || "";
    }
    let answer;
    try {
        answer = JSON.parse(output);
    } catch {
        throw new ZovcfgFailure("zovcfg gave no answer",
                                `zovcfg ${args.join(" ")} exited with ${exit} and printed no JSON. ${errors}`);
    }
    if (answer.version !== JSON_VERSION) {
        throw new ZovcfgFailure("zovcfg and this page do not match",
                                `zovcfg answered in version ${answer.version} of its JSON; this page reads version ${JSON_VERSION}. ` +
                                "Install the zovcfg-cockpit package that comes with this zovcfg.");
    }
    return { exit, answer };
}

// The failure of an answer that exited 2 or 3, with the caption the dialogs show it under.
export function failureOf({ exit, answer }) {
    const error = answer.error || {};
    const title = error.caption ||
        (exit === EXIT_CANNOT_RUN ? "zovcfg could not run" : "zovcfg refused");
    return new ZovcfgFailure(title, error.message || "zovcfg gave no reason.", error.kind || null);
}

// Runs a command whose refusal is an error for the page; resolves to the answer.
export async function answerOf(args, options) {
    const result = await runZovcfg(args, options);
    if (result.exit >= EXIT_CANNOT_RUN) {
        throw failureOf(result);
    }
    return result.answer;
}

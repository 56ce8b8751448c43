// Test-data collection prefs (loopback only)
user_pref("dom.serviceWorkers.testing.enabled", true);
user_pref("dom.allow_scripts_to_close_windows", true);
user_pref("browser.download.folderList", 2);
user_pref("browser.download.dir", "/work/profiles/downloads-firefox");
user_pref("browser.download.useDownloadDir", true);
user_pref("browser.download.always_ask_before_handling_new_types", false);
user_pref("browser.helperApps.neverAsk.saveToDisk", "application/octet-stream,text/plain");
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.aboutwelcome.enabled", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("startup.homepage_welcome_url", "");
user_pref("startup.homepage_welcome_url.additional", "");
user_pref("datareporting.policy.dataSubmissionPolicyBypassNotification", true);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
// keep every non-loopback request on the machine: send it to a closed loopback port
user_pref("network.proxy.type", 1);
user_pref("network.proxy.http", "127.0.0.1");
user_pref("network.proxy.http_port", 9);
user_pref("network.proxy.ssl", "127.0.0.1");
user_pref("network.proxy.ssl_port", 9);
user_pref("network.proxy.no_proxies_on", "localhost, 127.0.0.1");
user_pref("remote.prefs.recommended", false);
